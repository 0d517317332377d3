#pragma once
// The colour picker's rules that need no window: the fixed colour tables and
// their names, building the item list, finding the item of a colour, what a
// selection by the user does, how a swatch is framed and laid out, and the
// custom palette of the shared colour dialog.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumitrax::core {

// 0x00BBGGRR for a plain colour; 0xFF000000 + index for a system colour.
using Color = std::uint32_t;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clPurple = 0x800080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clGray = 0x808080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clFuchsia = 0xFF00FF;
inline constexpr Color clAqua = 0xFFFF00;
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

inline constexpr Color kSystemColorFlag = 0xFF000000;
// System colour indexes 0 to 30 (25 is unused).
inline constexpr std::size_t kSystemColorCount = 31;
constexpr bool IsSystemColor(Color color) { return (color & 0xFF000000) == kSystemColorFlag; }
// The RGB value of each system colour index, as the running system has them.
using SystemColors = std::array<Color, kSystemColorCount>;

// A system colour as its RGB value; every other colour as it is.
Color ResolveColor(Color color, const SystemColors& system);

enum class ColorsSet { cls16, cls8, cls2, clsText, clsBackground, clsSystem, clsAll };
enum class ColorNameStyle {
  cnsStandard,
  cnsFromList,
  cnsHex6,
  cnsHex8,
  cnsRGBPercents,
  cnsRGBDecimal,
  cnsRGBHex,
  cnsHexTriple
};
enum class ColorItemStyle { cisColorAndText, cisColor, cisText };

// The fixed colours of a set, in their table order.
std::vector<Color> ColorsOf(ColorsSet set);

// The standard identifier without its "cl" prefix ("Red", "BtnFace", "None"),
// or nothing for a colour without one.
std::optional<std::string> StandardColorName(Color color);

// The caption of the colour at `position` of its set. `rgb` is the colour
// resolved to RGB (system colours differ per machine); `names` serves
// cnsFromList, falling back to the standard name past its end.
std::string ColorName(Color color, Color rgb, ColorNameStyle style, const std::vector<std::string>& names,
                      std::size_t position);

struct ColorItem {
  std::string caption;
  Color color = clBlack;
  bool operator==(const ColorItem&) const = default;
};

struct ColorListOptions {
  ColorsSet colors_set = ColorsSet::cls16;
  ColorNameStyle name_style = ColorNameStyle::cnsStandard;
  std::vector<std::string> names;
  bool use_custom = false;
  bool use_none = false;
  bool use_default = false;
  std::string custom_caption = "Custom...";
  Color custom_color = clDefault;
};

// The items of a colour picker: the custom entry first (when used), the
// default colour, the set's colours, and "no colour" last.
std::vector<ColorItem> BuildColorList(const ColorListOptions& options, const SystemColors& system);

// What a screen reader hears as the picker's value: the item's caption; the
// custom entry adds its colour as "#RRGGBB" (red first, as people write it).
std::string SpokenColorValue(const ColorItem& item, bool custom_entry);

// The first item holding the colour, searched from item 0, or -1.
int FindColorItem(const std::vector<ColorItem>& items, Color color);

// Setting the selected colour: nothing happens (no value) when the colour is
// the stored one and an item is selected; otherwise the item to select (-1 for
// none), and the change fires either way.
std::optional<int> SelectColor(const std::vector<ColorItem>& items, Color stored, int item_index, Color color);

// What the user's choice of an item does.
enum class ColorPick { RunCustomDialog, TakeItemColor, Nothing };
ColorPick PickColorItem(int item_index, bool use_custom, bool dropped, bool custom_auto_select);
// Enter on the selected custom entry runs the colour dialog.
bool EnterRunsCustomDialog(int item_index, bool use_custom);

// Red, green and blue all below 129.
bool IsDarkColor(Color rgb);
// The 1-pixel frame of a swatch: white on the selected item; a dark colour
// framed in itself (black when it equals the background); a light one in black.
Color SwatchFrameColor(Color rgb, Color background_rgb, bool selected);

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box&) const = default;
};
struct ColorItemLayout {
  std::optional<Box> frame;  // the swatch's frame
  std::optional<Box> fill;   // inside the frame
  std::optional<int> text_left;
};
// Where the parts of an item go. `sample_width` 0 makes the swatch a square as
// wide as the item is high.
ColorItemLayout LayoutColorItem(const Box& item, ColorItemStyle style, int sample_width);

// The 16 custom colours of the colour dialog, each an RGB value or empty.
inline constexpr std::size_t kPaletteSize = 16;
inline constexpr Color kEmptySlot = 0xFFFFFFFF;
using ColorPalette = std::array<Color, kPaletteSize>;
ColorPalette EmptyPalette();
// Where two slots hold the same colour, the later one is emptied.
void TidyPalette(ColorPalette& palette);
// Keeps the RGB value in the palette: left where it already is, else put in the
// first empty slot, else over the last slot.
void PutInPalette(ColorPalette& palette, Color rgb);
// The dialog shows an empty slot as white; a white slot that comes back from a
// slot that was empty is still empty.
ColorPalette PaletteForDialog(const ColorPalette& palette);
ColorPalette PaletteFromDialog(const ColorPalette& before, const ColorPalette& returned);

}  // namespace lumitrax::core
