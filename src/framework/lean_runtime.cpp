// Linked into the program alone (not its tests): takes the place of the C++
// runtime's default terminate handler, which prints the demangled type of an
// uncaught exception to the console. A GUI program has no console to print
// to, and the demangler behind it is the single largest piece of the runtime
// in the program. An uncaught exception ends the program as it did before.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
