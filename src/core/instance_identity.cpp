#include "core/instance_identity.h"

#include <algorithm>

namespace lumitrax::core {

std::string InstanceIdentity(TPerformChecking checking, std::string_view user_name, std::string_view name,
                             std::string_view identifier) {
  std::string identity;
  if (checking == TPerformChecking::pcForCurrentUserOnly) {
    identity += user_name;
    identity += '.';
  }
  identity += name;
  identity += identifier;
  identity += ".OneInstance.";
  std::replace(identity.begin(), identity.end(), '\\', '/');
  return identity;
}

std::string CriticalSectionMutexName(std::string_view identity) { return std::string(identity) + "CriticalSection"; }

std::string DefaultMutexName(std::string_view identity) { return std::string(identity) + "Default"; }

}  // namespace lumitrax::core
