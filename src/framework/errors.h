#pragma once
// The program's exception: its message is what the default error box shows.
#include <stdexcept>
#include <string>

#include "framework/text.h"

namespace lumitrax {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& utf8_message) : std::runtime_error(utf8_message) {}
  explicit AppError(const std::wstring& message) : std::runtime_error(Narrow(message)) {}
};

}  // namespace lumitrax
