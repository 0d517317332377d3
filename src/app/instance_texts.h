#pragma once
// The texts a second start and "/exit" show when the running instance refuses
// their message (it runs with other rights, for example as administrator, and
// Windows drops messages from programs with fewer rights).
#include <string>

#include "framework/language.h"

namespace lumitrax {

inline std::wstring HandOverRefusedText() { return Tr(T::HandOverRefused); }
inline std::string ExitRefusedText() { return std::string(core::Text(T::ExitRefused)); }

}  // namespace lumitrax
