#pragma once
// The name under which one instance of the program is known to the others: the
// identity string and the names of the two mutexes built from it.
#include <string>
#include <string_view>

namespace lumitrax::core {

// Whether the user name is part of the identity (one instance per user) or not
// (one instance per logon session, whoever runs it).
enum class TPerformChecking { pcGlobal, pcForCurrentUserOnly };

// "<user>." (per user only) + name + identifier + ".OneInstance.", with every
// "\" replaced by "/" (a backslash would read as a namespace separator in a
// mutex name). The name is the application title, or the executable's path.
std::string InstanceIdentity(TPerformChecking checking, std::string_view user_name, std::string_view name,
                             std::string_view identifier);

// Held only while an instance checks for another one.
std::string CriticalSectionMutexName(std::string_view identity);
// Owned by the running instance for its whole life.
std::string DefaultMutexName(std::string_view identity);

}  // namespace lumitrax::core
