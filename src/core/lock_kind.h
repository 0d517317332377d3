#pragma once
// Which lock a control, an LED slot or a command refers to.
namespace lumitrax::core {

enum class LockKind : int { None = 0, Num = 1, Caps = 2, Scroll = 3 };

}  // namespace lumitrax::core
