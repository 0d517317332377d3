#include "core/osd_logic.h"

#include <algorithm>

#include "core/lock_names.h"
#include "core/texts.h"

namespace lumitrax::core {

namespace {

constexpr std::array<LockKind, 3> OsdLocks{LockKind::Num, LockKind::Caps, LockKind::Scroll};
constexpr std::array<int, 7> OsdFontPointSizes{5, 7, 9, 11, 15, 20, 30};

}  // namespace

std::string_view OsdSizeName(int osdSize) {
  if (osdSize < 0 || osdSize >= OsdSizeCount) return {};
  return Text(static_cast<T>(static_cast<int>(T::SizeNano) + osdSize));
}

std::string_view LockDisplayName(LockKind kind) {
  switch (kind) {
    case LockKind::Num: return Text(T::NumLock);
    case LockKind::Caps: return Text(T::CapsLock);
    case LockKind::Scroll: return Text(T::ScrollLock);
    default: return {};
  }
}

std::string GetOsdText(const OsdInputs& inputs) {
  std::string text;
  for (size_t i = 0; i < OsdLocks.size(); ++i) {
    if (!inputs.ShowLock[i]) continue;
    if (inputs.AutoHide && !inputs.LockStates[i] && !inputs.SettingsShown) continue;
    text += FormatText(T::OsdLine, {LockDisplayName(OsdLocks[i]), Text(inputs.LockStates[i] ? T::OsdOn : T::OsdOff)});
    text += '\r';
  }
  if (!text.empty()) {
    text.pop_back();
  } else if (inputs.SettingsShown) {
    text = Text(T::OsdNoLed);
  }
  return text;
}

bool IsOsdNeeded(const OsdInputs& inputs) {
  if (!inputs.Enabled) return false;
  bool any = false;
  for (size_t i = 0; i < OsdLocks.size(); ++i) {
    if (inputs.ShowLock[i] && (!inputs.AutoHide || inputs.LockStates[i])) any = true;
  }
  return any || inputs.SettingsShown;
}

bool OsdWindowShown(bool show, std::string_view text) { return show && !text.empty(); }

int OsdFontPointSize(int osdSize) {
  if (osdSize < 0 || osdSize >= static_cast<int>(OsdFontPointSizes.size())) {
    return OsdFontPointSizes[OsdDefaultSize];
  }
  return OsdFontPointSizes[static_cast<size_t>(osdSize)];
}

int FontHeightPixels(int points, int dpi) {
  // Rounded half away from zero, as the system's MulDiv does.
  const long long scaled = static_cast<long long>(points) * dpi;
  const long long half = scaled >= 0 ? 36 : -36;
  return static_cast<int>((scaled + half) / 72);
}

uint8_t OsdAlpha(int opacityPercent) {
  const int percent = std::clamp(opacityPercent, 0, 100);
  // percent x 2.55 in whole hundredths, rounded half to even.
  const int hundredths = percent * 255;
  int alpha = hundredths / 100;
  const int remainder = hundredths % 100;
  if (remainder > 50 || (remainder == 50 && alpha % 2 == 1)) ++alpha;
  return static_cast<uint8_t>(std::max(alpha, 16));
}

uint8_t NextFadeAlpha(uint8_t alpha) {
  return alpha > OsdFadeStep ? static_cast<uint8_t>(alpha - OsdFadeStep) : 0;
}

std::vector<uint8_t> FadeAlphaSteps(uint8_t startAlpha) {
  std::vector<uint8_t> steps;
  for (uint8_t alpha = startAlpha; alpha > 0;) {
    alpha = NextFadeAlpha(alpha);
    steps.push_back(alpha);
  }
  return steps;
}

bool OsdShouldStayOnTop(const OsdTopmostConditions& conditions) {
  return conditions.OsdVisible && !conditions.SettingsShown && !conditions.TrayMenuOpen &&
         conditions.SetupCommandEnabled;
}

HideTimerSetting RestartHideTimer(bool hideAfterChecked, int hideAfterSeconds, bool settingsShown) {
  if (!hideAfterChecked) return {};
  // Held to the spin edit's range of 1..60 s: never a zero, negative or overflowing interval.
  const uint32_t seconds = static_cast<uint32_t>(std::clamp(hideAfterSeconds, 1, 60));
  return {!settingsShown, seconds * 1000};
}

void OsdMouseButton(OsdPressState& state, bool down, Point position) {
  state.Pressed = down;
  state.PressPos = position;
}

bool OsdHideTimerTick(OsdPressState& state, Point position) {
  if (!state.Pressed) return true;
  state.Pressed = position != state.PressPos;
  state.PressPos = position;
  return false;
}

OsdFrameSize OsdLoadingFrameSize(OsdFrameSize body, int32_t vScrollWidth, int32_t hScrollHeight) {
  return {body.Width + vScrollWidth + 5, body.Height + hScrollHeight + 5};
}

}  // namespace lumitrax::core
