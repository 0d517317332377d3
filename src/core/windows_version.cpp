#include "core/windows_version.h"

namespace lumitrax::core {

bool OlderThanVista(const WindowsVersion& version) {
  constexpr uint32_t Windows9x = 1;
  constexpr uint32_t WindowsNt = 2;
  constexpr uint32_t VistaMajor = 6;
  return version.PlatformId == Windows9x || (version.PlatformId == WindowsNt && version.Major < VistaMajor);
}

}  // namespace lumitrax::core
