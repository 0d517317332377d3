#pragma once
// The colours of the program's windows in each of the themes a user can
// choose in Windows: the light one and high contrast take the system's
// colours; the dark one is the program's own palette, since Windows offers no
// documented dark system colours for desktop programs.
#include <cstdint>
#include <optional>

#include "core/color.h"
#include "core/color_list.h"
#include "core/taskbar_theme.h"

namespace lumitrax::core {

enum class ThemeKind { Light, Dark, HighContrast };

// High contrast wins; else dark when apps use the dark theme
// (AppsUseLightTheme = 0); a missing or damaged value means light.
ThemeKind ChooseTheme(bool high_contrast, std::optional<uint32_t> apps_use_light_theme);

struct Palette {
  Color face;           // window and group background
  Color text;           // labels, check boxes, group captions
  Color disabled_text;  // controls that are switched off
  Color edit;           // edits and lists
  Color edit_text;
  Color button;         // push buttons
  Color button_text;
  Color highlight;      // the chosen item of an open list
  Color highlight_text;
  Color link;           // web links
};

// Light and high contrast: the system's colours of the moment.
Palette SystemPalette(const SystemColors& system);
// Dark: the program's own.
Palette DarkPalette();
Palette PaletteFor(ThemeKind kind, const SystemColors& system);

// The contrast of a text against its background: ContrastRatio
// (core/taskbar_theme.h), the WCAG 2 formula.

}  // namespace lumitrax::core
