// Registry keys a removal never deletes as a whole, whatever a definition says: the hive roots and every
// key directly below them, Software\Classes with every key directly below it (CLSID among them), the
// Microsoft, Windows and Windows NT keys down to CurrentVersion and every key directly below those (Run,
// RunOnce, Policies, Explorer, Winlogon, ...), Internet Explorer's keys, the policy keys, and SYSTEM with
// CurrentControlSet and every key directly below them. The same in every hive (a user's hive under
// HKEY_USERS, the classes root) and in the 32-bit view (Wow6432Node). Values inside them stay removable:
// a spyware Run value must still go.
#pragma once

#include <string_view>

#include "platform/registry.h"

namespace grimsweep {

inline constexpr std::string_view kProtectedKeyReason = "protected Windows registry key, not removed";

// Compared after folding case and collapsing separators ("software\\\\MICROSOFT\\" is Software\Microsoft).
bool IsProtectedRegistryKey(RegistryRoot root, std::string_view keyPath);

} // namespace grimsweep
