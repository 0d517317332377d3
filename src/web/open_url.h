#pragma once
#include <string>

namespace lumitrax {

// Opens the address in the default web browser ("http://" is added when it
// has no scheme); the shell's answer is not examined.
void OpenURL(const std::string& address);

}  // namespace lumitrax
