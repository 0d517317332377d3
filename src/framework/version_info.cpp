#include "framework/version_info.h"

#include <windows.h>

#include <vector>

#include "core/version.h"
#include "framework/text.h"

namespace lumitrax {

std::wstring GetFileVersionString(const std::wstring& file_name) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file_name.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoW(file_name.c_str(), 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return {};
  return Widen(core::FormatVersion({HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)}));
}

std::wstring GetModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace lumitrax
