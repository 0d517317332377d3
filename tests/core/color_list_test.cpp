#include "core/color_list.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

SystemColors TestSystemColors() {
  SystemColors system{};
  for (std::size_t i = 0; i < system.size(); ++i) system[i] = 0x010101 * static_cast<Color>(i);
  return system;
}

ColorListOptions PickerOptions(Color custom) {
  ColorListOptions options;
  options.use_custom = true;
  options.custom_color = custom;
  return options;
}

TEST(BuildColorList, ThePickersListIsTheCustomEntryThenTheSixteenNamedColours) {
  const auto items = BuildColorList(PickerOptions(0x4080FF), TestSystemColors());
  ASSERT_EQ(items.size(), 17u);
  EXPECT_EQ(items[0], (ColorItem{"Custom...", 0x4080FF}));
  const std::vector<ColorItem> expected = {
      {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
      {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
      {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
      {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF}};
  EXPECT_EQ(std::vector<ColorItem>(items.begin() + 1, items.end()), expected);
}

TEST(BuildColorList, DefaultComesAfterTheCustomEntryAndNoneLast) {
  ColorListOptions options = PickerOptions(0x123456);
  options.custom_caption = "Other...";
  options.use_default = true;
  options.use_none = true;
  options.colors_set = ColorsSet::cls2;
  const auto items = BuildColorList(options, TestSystemColors());
  const std::vector<ColorItem> expected = {
      {"Other...", 0x123456}, {"Default", clDefault}, {"Black", clBlack}, {"White", clWhite}, {"None", clNone}};
  EXPECT_EQ(items, expected);
  // Without a custom entry the list starts with the set.
  EXPECT_EQ(BuildColorList({}, TestSystemColors()).front(), (ColorItem{"Black", clBlack}));
}

TEST(BuildColorList, OtherSetsAndNameStyles) {
  EXPECT_EQ(ColorsOf(ColorsSet::cls8),
            (std::vector<Color>{clBlack, clRed, clGreen, clYellow, clBlue, clPurple, clTeal, clWhite}));
  EXPECT_EQ(ColorsOf(ColorsSet::clsText).size(), 16u);
  EXPECT_EQ(ColorsOf(ColorsSet::clsBackground).size(), 15u);
  // System colours 0 to 24 and 26 to 30.
  const auto system = ColorsOf(ColorsSet::clsSystem);
  ASSERT_EQ(system.size(), 30u);
  EXPECT_EQ(system[24], 0xFF000018u);
  EXPECT_EQ(system[25], 0xFF00001Au);
  EXPECT_EQ(ColorsOf(ColorsSet::clsAll).size(), 46u);

  ColorListOptions options;
  options.colors_set = ColorsSet::clsSystem;
  options.name_style = ColorNameStyle::cnsHex6;
  // System colours are named by their value on this machine.
  EXPECT_EQ(BuildColorList(options, TestSystemColors())[15], (ColorItem{"0F0F0F", 0xFF00000F}));
  options.name_style = ColorNameStyle::cnsStandard;
  EXPECT_EQ(BuildColorList(options, TestSystemColors())[15].caption, "BtnFace");

  options.colors_set = ColorsSet::cls2;
  options.name_style = ColorNameStyle::cnsFromList;
  options.names = {"Ink"};
  const auto named = BuildColorList(options, TestSystemColors());
  EXPECT_EQ(named[0].caption, "Ink");
  EXPECT_EQ(named[1].caption, "White");  // past the end of the names
}

TEST(ColorName, FormatsTheRedGreenAndBlueParts) {
  const Color orange = 0x0080FF;  // red FF, green 80, blue 00
  const std::vector<std::string> none;
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsStandard, none, 0), "000080FF");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsHex6, none, 0), "0080FF");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsHex8, none, 0), "000080FF");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsRGBPercents, none, 0), "RGB{100%,50%,0%}");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsRGBDecimal, none, 0), "RGB{255,128,0}");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsRGBHex, none, 0), "RGB{ff,80,00}");
  EXPECT_EQ(ColorName(orange, orange, ColorNameStyle::cnsHexTriple, none, 0), "Hex={ff,80,00}");
  EXPECT_EQ(StandardColorName(0xC0DCC0), "MoneyGreen");
  EXPECT_EQ(StandardColorName(0xFF000019), std::nullopt);  // the unused system index
  EXPECT_EQ(StandardColorName(0x4080FF), std::nullopt);
}

TEST(SelectColor, FindsTheFirstItemSoTheCustomEntryWinsAndUnlistedSelectsNothing) {
  auto items = BuildColorList(PickerOptions(0x4080FF), TestSystemColors());
  // Red from nothing selected.
  EXPECT_EQ(SelectColor(items, clBlack, -1, clRed), 10);
  // The custom entry holds blue too: item 0, not "Blue".
  items = BuildColorList(PickerOptions(clBlue), TestSystemColors());
  EXPECT_EQ(SelectColor(items, clRed, 10, clBlue), 0);
  EXPECT_EQ(FindColorItem(items, clBlue), 0);
  // Unlisted: no item, but the change still happens.
  EXPECT_EQ(SelectColor(items, clRed, 10, 0x123456), -1);
  // The same colour while an item is selected changes nothing...
  EXPECT_EQ(SelectColor(items, clRed, 10, clRed), std::nullopt);
  // ...but the same colour with nothing selected searches again.
  EXPECT_EQ(SelectColor(items, clRed, -1, clRed), 10);
  EXPECT_EQ(SelectColor(items, 0x123456, -1, 0x123456), -1);
}

TEST(PickColorItem, TheDialogOnlyForTheCustomEntryPickedFromTheOpenList) {
  EXPECT_EQ(PickColorItem(0, true, true, true), ColorPick::RunCustomDialog);
  // Arrowing onto it with the list closed takes its colour.
  EXPECT_EQ(PickColorItem(0, true, false, true), ColorPick::TakeItemColor);
  EXPECT_EQ(PickColorItem(0, true, true, false), ColorPick::TakeItemColor);
  // Without a custom entry item 0 is an ordinary colour.
  EXPECT_EQ(PickColorItem(0, false, true, true), ColorPick::TakeItemColor);
  EXPECT_EQ(PickColorItem(5, true, true, true), ColorPick::TakeItemColor);
  EXPECT_EQ(PickColorItem(-1, true, true, true), ColorPick::Nothing);
  EXPECT_TRUE(EnterRunsCustomDialog(0, true));
  EXPECT_FALSE(EnterRunsCustomDialog(0, false));
  EXPECT_FALSE(EnterRunsCustomDialog(3, true));
}

TEST(SwatchFrame, DarkColoursFramedInThemselvesLightOnesInBlackSelectedInWhite) {
  EXPECT_EQ(SwatchFrameColor(clNavy, clWhite, false), clNavy);
  EXPECT_EQ(SwatchFrameColor(0x808080, clWhite, false), 0x808080u);  // 128 is still dark
  EXPECT_EQ(SwatchFrameColor(0x818181, clWhite, false), clBlack);    // 129 is light
  EXPECT_EQ(SwatchFrameColor(0x000081, clWhite, false), clBlack);    // one light part is enough
  EXPECT_EQ(SwatchFrameColor(clYellow, clWhite, false), clBlack);
  // A dark colour equal to the background gets a black frame.
  EXPECT_EQ(SwatchFrameColor(clNavy, clNavy, false), clBlack);
  EXPECT_EQ(SwatchFrameColor(clNavy, clWhite, true), clWhite);
  EXPECT_EQ(SwatchFrameColor(clWhite, clNavy, true), clWhite);
}

TEST(LayoutColorItem, SquareSwatchInsetByOnePixelAndTextTwoPixelsRight) {
  const Box item{0, 0, 90, 17};
  const auto both = LayoutColorItem(item, ColorItemStyle::cisColorAndText, 0);
  EXPECT_EQ(both.frame, (Box{1, 1, 16, 16}));
  EXPECT_EQ(both.fill, (Box{2, 2, 15, 15}));
  EXPECT_EQ(both.text_left, 18);
  const auto wide = LayoutColorItem(Box{3, 10, 90, 27}, ColorItemStyle::cisColorAndText, 30);
  EXPECT_EQ(wide.frame, (Box{4, 11, 32, 26}));
  EXPECT_EQ(wide.text_left, 34);
  const auto swatch_only = LayoutColorItem(item, ColorItemStyle::cisColor, 0);
  EXPECT_EQ(swatch_only.frame, (Box{1, 1, 89, 16}));
  EXPECT_EQ(swatch_only.text_left, std::nullopt);
  const auto text_only = LayoutColorItem(item, ColorItemStyle::cisText, 0);
  EXPECT_EQ(text_only.frame, std::nullopt);
  EXPECT_EQ(text_only.text_left, 2);
}

TEST(ColorPalette, TidyEmptiesLaterDuplicates) {
  ColorPalette palette = EmptyPalette();
  palette[0] = 0x112233;
  palette[3] = 0x445566;
  palette[5] = 0x112233;
  palette[9] = 0x445566;
  palette[12] = 0x112233;
  TidyPalette(palette);
  ColorPalette expected = EmptyPalette();
  expected[0] = 0x112233;
  expected[3] = 0x445566;
  EXPECT_EQ(palette, expected);
}

TEST(ColorPalette, PutKeepsAPresentColourFillsTheFirstEmptySlotAndOverwritesTheLast) {
  ColorPalette palette = EmptyPalette();
  palette[0] = 0x112233;
  palette[2] = 0x445566;
  PutInPalette(palette, 0x445566);
  EXPECT_EQ(palette[1], kEmptySlot);  // already there: not added again
  PutInPalette(palette, 0xFF0000);
  EXPECT_EQ(palette[1], 0xFF0000u);
  // Only the RGB part goes in: a system-colour flag never reaches the dialog.
  PutInPalette(palette, 0xFF0000AB);
  EXPECT_EQ(palette[3], 0x0000ABu);
  // White is a colour, not an empty slot.
  PutInPalette(palette, clWhite);
  EXPECT_EQ(palette[4], clWhite);

  ColorPalette full;
  for (std::size_t i = 0; i < full.size(); ++i) full[i] = static_cast<Color>(i);
  PutInPalette(full, 0xABCDEF);
  EXPECT_EQ(full[15], 0xABCDEFu);
  EXPECT_EQ(full[14], 14u);
}

TEST(ColorPalette, EmptySlotsShowWhiteAndStayEmptyUnlessChangedInTheDialog) {
  ColorPalette palette = EmptyPalette();
  palette[0] = clWhite;
  palette[1] = 0x123456;
  const ColorPalette shown = PaletteForDialog(palette);
  EXPECT_EQ(shown[0], clWhite);
  EXPECT_EQ(shown[2], clWhite);
  ColorPalette returned = shown;
  returned[3] = 0x00AA00;  // the user added a colour in the dialog
  const ColorPalette back = PaletteFromDialog(palette, returned);
  EXPECT_EQ(back[0], clWhite);  // a real white slot stays white
  EXPECT_EQ(back[1], 0x123456u);
  EXPECT_EQ(back[2], kEmptySlot);
  EXPECT_EQ(back[3], 0x00AA00u);
}

TEST(ResolveColor, SystemColoursTakeTheMachinesValue) {
  const SystemColors system = TestSystemColors();
  EXPECT_EQ(ResolveColor(0xFF00000F, system), 0x0F0F0Fu);
  EXPECT_EQ(ResolveColor(clRed, system), clRed);
  EXPECT_EQ(ResolveColor(clNone, system), clNone);
  EXPECT_EQ(ResolveColor(0xFF0000FF, system), clBlack);  // no such index
}

}  // namespace
}  // namespace lumitrax::core
