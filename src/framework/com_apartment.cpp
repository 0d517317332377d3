#include "framework/com_apartment.h"

#include <objbase.h>

namespace lumitrax {

TComApartment::TComApartment() noexcept
    : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)),
      initialized_(SUCCEEDED(result_)) {}  // S_FALSE too: each success needs its CoUninitialize

TComApartment::~TComApartment() {
  if (initialized_) ::CoUninitialize();
}

}  // namespace lumitrax
