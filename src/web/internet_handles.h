#pragma once
// Move-only owners for WinINet handles. Include this header only in files that
// use WinINet: under MinGW <wininet.h> and <winhttp.h> cannot meet in one file.
#include <windows.h>
#include <wininet.h>

#include "framework/handles.h"

namespace lumitrax {

namespace handle_detail {
inline void CloseInternetHandle(HINTERNET h) { ::InternetCloseHandle(h); }
}  // namespace handle_detail

// A session (InternetOpen), a connection (InternetConnect) or a request
// (HttpOpenRequest): all three are released by InternetCloseHandle, which also
// cancels whatever is still pending on the handle.
using UniqueInternetHandle = UniqueHandle<HINTERNET, handle_detail::CloseInternetHandle>;
using UniqueInternetSession = UniqueInternetHandle;
using UniqueInternetConnection = UniqueInternetHandle;
using UniqueInternetRequest = UniqueInternetHandle;

}  // namespace lumitrax
