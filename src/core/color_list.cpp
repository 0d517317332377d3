#include "core/color_list.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace lumitrax::core {
namespace {

struct NamedColor {
  Color color;
  std::string_view name;
};

// First match wins, so the 16 standard colours come before anything else.
constexpr NamedColor kNamedColors[] = {
    {clBlack, "Black"},   {clMaroon, "Maroon"},      {clGreen, "Green"},   {clOlive, "Olive"},
    {clNavy, "Navy"},     {clPurple, "Purple"},      {clTeal, "Teal"},     {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"},            {clLime, "Lime"},     {clYellow, "Yellow"},
    {clBlue, "Blue"},     {clFuchsia, "Fuchsia"},    {clAqua, "Aqua"},     {clWhite, "White"},
    {0xC0DCC0, "MoneyGreen"}, {0xF0CAA6, "SkyBlue"}, {0xF0FBFF, "Cream"},  {0xA4A0A0, "MedGray"},
    {clNone, "None"},     {clDefault, "Default"},
};

// Indexed by the system colour index; index 25 has no colour.
constexpr std::string_view kSystemColorNames[kSystemColorCount] = {
    "ScrollBar",     "Background",         "ActiveCaption",         "InactiveCaption",
    "Menu",          "Window",             "WindowFrame",           "MenuText",
    "WindowText",    "CaptionText",        "ActiveBorder",          "InactiveBorder",
    "AppWorkSpace",  "Highlight",          "HighlightText",         "BtnFace",
    "BtnShadow",     "GrayText",           "BtnText",               "InactiveCaptionText",
    "BtnHighlight",  "3DDkShadow",         "3DLight",               "InfoText",
    "InfoBk",        "",                   "HotLight",              "GradientActiveCaption",
    "GradientInactiveCaption", "MenuHighlight", "MenuBar",
};

constexpr Color kStandard16[] = {clBlack, clMaroon, clGreen, clOlive, clNavy,    clPurple, clTeal, clGray,
                                 clSilver, clRed,   clLime,  clYellow, clBlue,   clFuchsia, clAqua, clWhite};
constexpr Color kStandard8[] = {clBlack, clRed, clGreen, clYellow, clBlue, clPurple, clTeal, clWhite};
// Text colours in light and dark pairs.
constexpr Color kTextColors[] = {clBlack, clWhite,  clMaroon, clRed,    clGreen,  clLime,    clOlive, clYellow,
                                 clNavy,  clBlue,   clPurple, clFuchsia, clTeal,  clAqua,    clGray,  clSilver};

std::vector<Color> SystemColorValues() {
  std::vector<Color> colors;
  for (Color index = 0; index < kSystemColorCount; ++index)
    if (!kSystemColorNames[index].empty()) colors.push_back(kSystemColorFlag + index);
  return colors;
}

// "PREFIX{a,b,c}" of three numbers as text.
std::string Triple(const char* prefix, unsigned a, unsigned b, unsigned c, int base, int width) {
  return std::string(prefix) + '{' + PaddedNumber(a, width, base) + ',' + PaddedNumber(b, width, base) + ',' +
         PaddedNumber(c, width, base) + '}';
}

// A share of 255 in whole percent, rounded to the nearest (never a tie).
unsigned Percent(unsigned value) { return static_cast<unsigned>(std::lround(value * 100.0 / 255)); }

}  // namespace

Color ResolveColor(Color color, const SystemColors& system) {
  if (!IsSystemColor(color)) return color;
  const Color index = color & 0xFF;
  return index < kSystemColorCount ? system[index] : clBlack;
}

std::vector<Color> ColorsOf(ColorsSet set) {
  switch (set) {
    case ColorsSet::cls16:
      return {std::begin(kStandard16), std::end(kStandard16)};
    case ColorsSet::cls8:
      return {std::begin(kStandard8), std::end(kStandard8)};
    case ColorsSet::cls2:
      return {clBlack, clWhite};
    case ColorsSet::clsText:
      return {std::begin(kTextColors), std::end(kTextColors)};
    case ColorsSet::clsBackground:
      // Every text colour but black.
      return {std::begin(kTextColors) + 1, std::end(kTextColors)};
    case ColorsSet::clsSystem:
      return SystemColorValues();
    case ColorsSet::clsAll: {
      std::vector<Color> colors(std::begin(kStandard16), std::end(kStandard16));
      const std::vector<Color> system = SystemColorValues();
      colors.insert(colors.end(), system.begin(), system.end());
      return colors;
    }
  }
  return {};
}

std::optional<std::string> StandardColorName(Color color) {
  if (IsSystemColor(color)) {
    const Color index = color & 0xFFFFFF;
    if (index < kSystemColorCount && !kSystemColorNames[index].empty()) return std::string(kSystemColorNames[index]);
    return std::nullopt;
  }
  for (const NamedColor& named : kNamedColors)
    if (named.color == color) return std::string(named.name);
  return std::nullopt;
}

std::string ColorName(Color color, Color rgb, ColorNameStyle style, const std::vector<std::string>& names,
                      std::size_t position) {
  const unsigned red = rgb & 0xFF, green = (rgb >> 8) & 0xFF, blue = (rgb >> 16) & 0xFF;
  switch (style) {
    case ColorNameStyle::cnsFromList:
      if (position < names.size()) return names[position];
      break;
    case ColorNameStyle::cnsHex6:
      return PaddedNumber(rgb & 0xFFFFFF, 6, 16, true);
    case ColorNameStyle::cnsHex8:
      return PaddedNumber(static_cast<unsigned>(rgb), 8, 16, true);
    case ColorNameStyle::cnsRGBPercents:
      return "RGB{" + std::to_string(Percent(red)) + "%," + std::to_string(Percent(green)) + "%," +
             std::to_string(Percent(blue)) + "%}";
    case ColorNameStyle::cnsRGBDecimal:
      return Triple("RGB", red, green, blue, 10, 1);
    case ColorNameStyle::cnsRGBHex:
      return Triple("RGB", red, green, blue, 16, 2);
    case ColorNameStyle::cnsHexTriple:
      return Triple("Hex=", red, green, blue, 16, 2);
    case ColorNameStyle::cnsStandard:
      break;
  }
  if (auto name = StandardColorName(color)) return *name;
  return PaddedNumber(static_cast<unsigned>(color), 8, 16, true);
}

std::vector<ColorItem> BuildColorList(const ColorListOptions& options, const SystemColors& system) {
  std::vector<ColorItem> items;
  if (options.use_custom) items.push_back({options.custom_caption, options.custom_color});
  if (options.use_default) items.push_back({*StandardColorName(clDefault), clDefault});
  const std::vector<Color> colors = ColorsOf(options.colors_set);
  for (std::size_t i = 0; i < colors.size(); ++i)
    items.push_back({ColorName(colors[i], ResolveColor(colors[i], system), options.name_style, options.names, i),
                     colors[i]});
  if (options.use_none) items.push_back({*StandardColorName(clNone), clNone});
  return items;
}

int FindColorItem(const std::vector<ColorItem>& items, Color color) {
  const auto found = std::find_if(items.begin(), items.end(), [&](const ColorItem& item) { return item.color == color; });
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::optional<int> SelectColor(const std::vector<ColorItem>& items, Color stored, int item_index, Color color) {
  if (color == stored && item_index >= 0) return std::nullopt;
  return FindColorItem(items, color);
}

ColorPick PickColorItem(int item_index, bool use_custom, bool dropped, bool custom_auto_select) {
  if (item_index == 0 && use_custom && dropped && custom_auto_select) return ColorPick::RunCustomDialog;
  return item_index >= 0 ? ColorPick::TakeItemColor : ColorPick::Nothing;
}

bool EnterRunsCustomDialog(int item_index, bool use_custom) { return item_index == 0 && use_custom; }

bool IsDarkColor(Color rgb) {
  return (rgb & 0xFF) < 129 && ((rgb >> 8) & 0xFF) < 129 && ((rgb >> 16) & 0xFF) < 129;
}

Color SwatchFrameColor(Color rgb, Color background_rgb, bool selected) {
  if (selected) return clWhite;
  if (!IsDarkColor(rgb)) return clBlack;
  return rgb == background_rgb ? clBlack : rgb;
}

ColorItemLayout LayoutColorItem(const Box& item, ColorItemStyle style, int sample_width) {
  ColorItemLayout layout;
  if (style == ColorItemStyle::cisText) {
    layout.text_left = item.left + 2;
    return layout;
  }
  const int width = style == ColorItemStyle::cisColor ? item.right - item.left
                                                       : (sample_width > 0 ? sample_width : item.bottom - item.top);
  const Box frame{item.left + 1, item.top + 1, item.left + width - 1, item.bottom - 1};
  layout.frame = frame;
  layout.fill = Box{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  if (style == ColorItemStyle::cisColorAndText) layout.text_left = frame.right + 2;
  return layout;
}

ColorPalette EmptyPalette() {
  ColorPalette palette;
  palette.fill(kEmptySlot);
  return palette;
}

void TidyPalette(ColorPalette& palette) {
  for (std::size_t later = 1; later < palette.size(); ++later)
    if (std::find(palette.begin(), palette.begin() + later, palette[later]) != palette.begin() + later)
      palette[later] = kEmptySlot;
}

void PutInPalette(ColorPalette& palette, Color rgb) {
  rgb &= 0xFFFFFF;
  if (std::find(palette.begin(), palette.end(), rgb) != palette.end()) return;
  const auto empty = std::find(palette.begin(), palette.end(), kEmptySlot);
  *(empty != palette.end() ? empty : palette.end() - 1) = rgb;
}

ColorPalette PaletteForDialog(const ColorPalette& palette) {
  ColorPalette shown = palette;
  std::replace(shown.begin(), shown.end(), kEmptySlot, clWhite);
  return shown;
}

ColorPalette PaletteFromDialog(const ColorPalette& before, const ColorPalette& returned) {
  ColorPalette palette;
  for (std::size_t i = 0; i < palette.size(); ++i)
    palette[i] = before[i] == kEmptySlot && returned[i] == clWhite ? kEmptySlot : returned[i] & 0xFFFFFF;
  return palette;
}

std::string SpokenColorValue(const ColorItem& item, bool custom_entry) {
  if (!custom_entry) return item.caption;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = item.caption + " #";
  for (const int shift : {0, 8, 16}) {
    const unsigned byte = (item.color >> shift) & 0xFF;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

}  // namespace lumitrax::core
