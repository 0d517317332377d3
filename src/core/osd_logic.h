#pragma once
// What the on-screen display says and whether it shows, decided from the
// settings and the lock states; its sizes, opacity, fade and hide countdown.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/lock_kind.h"
#include "core/rect.h"

namespace lumitrax::core {

// The settings window's on-screen display controls and the moment's lock states.
struct OsdInputs {
  bool Enabled = false;             // the check box of grpOsd
  std::array<bool, 3> ShowLock{};   // chbOsdLed1..3 (Num, Caps, Scroll)
  bool AutoHide = false;            // chbOsdAutoHide, "Hide when all OFF"
  std::array<bool, 3> LockStates{}; // GetLockState of Num, Caps, Scroll
  bool SettingsShown = false;       // the settings window is visible
};


// One line per shown lock ("Caps Lock ON" in English; each language orders its words), separated by a single carriage return.
// While the settings window is open it previews every selected lock.
std::string GetOsdText(const OsdInputs& inputs);

// Whether the display is to be visible at all.
bool IsOsdNeeded(const OsdInputs& inputs);

// The window shows only when asked to and when it has something to say.
bool OsdWindowShown(bool show, std::string_view text);

// OsdSize: the item index of cmbOsdSize.
inline constexpr int OsdDefaultSize = 3;
inline constexpr int OsdSizeCount = 7;
// The name of a size in the size list, in the current language ("[Normal]").
std::string_view OsdSizeName(int osdSize);
// A lock's name as the keys print it ("Caps Lock"), in the current language.
std::string_view LockDisplayName(LockKind kind);
// Point size of the text for an OsdSize; any value outside 0..6 gives 11 pt.
int OsdFontPointSize(int osdSize);
// Character height in pixels for a point size at a screen resolution (dots per inch),
// rounded to the nearest pixel: 11 pt at 96 dpi is 15 pixels.
int FontHeightPixels(int points, int dpi);

// Alpha value for an opacity in percent: percent x 2.55 rounded half to even,
// at least 16 so the display never vanishes, at most 255.
uint8_t OsdAlpha(int opacityPercent);

// The fade: the alpha drops by 8 every 10 ms until it reaches 0.
inline constexpr uint8_t OsdFadeStep = 8;
inline constexpr uint32_t OsdFadeStepDelayMs = 10;
uint8_t NextFadeAlpha(uint8_t alpha);
// The alpha values a fade passes through after the given start, ending with 0.
std::vector<uint8_t> FadeAlphaSteps(uint8_t startAlpha);

// tmrVisible re-raises the display and keeps it on the work area only while
// nothing of the program is in the user's way.
struct OsdTopmostConditions {
  bool OsdVisible = false;
  bool SettingsShown = false;
  bool TrayMenuOpen = false;
  bool SetupCommandEnabled = true;  // miPopupSetup; disabled while a modal dialog is open
};
bool OsdShouldStayOnTop(const OsdTopmostConditions& conditions);

// tmrHideAfter after a refresh: it runs only when "hide after" is checked and the
// settings window is hidden, with the interval in seconds turned into milliseconds.
struct HideTimerSetting {
  bool Enabled = false;
  uint32_t IntervalMs = 0;
};
HideTimerSetting RestartHideTimer(bool hideAfterChecked, int hideAfterSeconds, bool settingsShown);

// A press on the display postpones hiding while the user drags it.
struct OsdPressState {
  bool Pressed = false;  // FPressed
  Point PressPos;        // FPressPos: the window's left and top at the last press, release or tick
};
// WM_LBUTTONDOWN (down = true) or WM_LBUTTONUP with the window's current left and top.
void OsdMouseButton(OsdPressState& state, bool down, Point position);
// One tick of tmrHideAfter with the window's current left and top. True: stop the
// timer and fade out now. False: keep the timer running (the display was pressed).
bool OsdHideTimerTick(OsdPressState& state, Point position);

// The stored position's default: far beyond the bottom-right corner, so keeping the
// window on the work area puts it in the corner.
inline constexpr std::string_view OsdDefaultBounds = "1000000, 1000000, 0, 0";

struct OsdFrameSize {
  int32_t Width = 0;
  int32_t Height = 0;
};
// The size the window takes while its stored position is applied: the body (the
// design caption "Scroll Lock OFF") plus the scroll bar sizes plus 5 pixels each way,
// so the corner position leaves room for wider texts before the window shrinks to its body.
OsdFrameSize OsdLoadingFrameSize(OsdFrameSize body, int32_t vScrollWidth, int32_t hScrollHeight);

}  // namespace lumitrax::core
