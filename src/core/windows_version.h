#pragma once
// Which Windows the program runs on, as far as its defaults care.
#include <cstdint>

namespace lumitrax::core {

// As the system reports it: platform 1 is the Windows 9x family, 2 the NT family.
struct WindowsVersion {
  uint32_t PlatformId = 0;
  uint32_t Major = 0;
  uint32_t Minor = 0;
};

// Windows 9x/ME, NT 3.x/4.0, 2000, XP and Server 2003. A platform the program
// does not recognise counts as current.
bool OlderThanVista(const WindowsVersion& version);

}  // namespace lumitrax::core
