#pragma once
// What a usage ping carries: the query string of the current settings and the
// address of the ping page.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/color.h"

namespace lumitrax::core {

// The settings the ping reports, as the settings window's controls hold them.
struct PingSettings {
  std::string Version;                  // file version of the running program, "2.5.0.51"
  bool AutoRun = false;                 // chbAutoRun
  bool BeepOnSwitch = false;            // chbBeepOnSwitch
  std::array<int, 3> LedLocks{};        // item indexes of cmbLed1..3 (a LockKind, -1 for none)
  std::array<Color, 3> LedColors{};     // cmbColor1..3
  bool IconMarks = false;               // chbIconMarks
  Color GridColor = 0;                  // cmbColorGrid
  bool OsdEnabled = false;              // the check box of grpOsd
  std::array<bool, 3> OsdLocks{};       // chbOsdLed1..3
  bool OsdAutoHide = false;             // chbOsdAutoHide
  bool OsdHideAfter = false;            // chbOsdHideAfter
  int OsdHideInterval = 0;              // edOsdHideAfter, seconds
  int OsdSize = 0;                      // item index of cmbOsdSize
  Color OsdBodyColor = 0;               // cmbOsdBody
  Color OsdTextColor = 0;               // cmbOsdText
  int OsdOpacity = 0;                   // edOsdOpacity, percent
};

// A colour as exactly eight upper-case hexadecimal digits: red 0x0000FF is "000000FF".
std::string FormatColorHex(Color color);

// "version=...&auto=On&beep=..." with the on-screen display pairs only while the
// display is switched on, and "&" + extra at the end when extra is not empty.
std::string BuildPingQuery(const PingSettings& settings, std::string_view extra);

// The ping page under the product site's root address: root + "/ping/".
std::string PingBaseUrl(std::string_view siteRoot);

// url, "/" unless it ends in one; path, "/" unless it ends in one (both only for a
// non-empty path); then "?" and the query when there is one. Nothing is escaped.
std::string PingAddress(std::string_view url, std::string_view path, std::string_view query);

}  // namespace lumitrax::core
