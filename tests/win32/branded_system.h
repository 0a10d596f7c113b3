// The real system with brand values of its own, for tests that keep settings in the real registry: they
// land under HKEY_CURRENT_USER\Software\Lanternfish Software Tests, which the test removes.
#pragma once

#include <optional>
#include <string>

#include "platform/machine.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_system.h"

namespace grimsweep::win32 {

inline const std::string kTestCompany = "Lanternfish Software Tests";
inline const std::string kTestCompanyKey = "Software\\" + kTestCompany;

class BrandedSystem : public Win32System {
public:
    std::optional<VersionResource> ReadVersionResource(const std::string&) override {
        VersionResource resource;
        resource.strings = {{"ProductName", "Grimsweep Schedule"}, {"CompanyName", kTestCompany}};
        return resource;
    }
};

// The real machine with that system in it.
inline Machine BrandedView(Win32Machine& machine, BrandedSystem& system) {
    return Machine{machine.registry,     machine.files,         machine.processes,
                   machine.processNames, machine.shell,         system,
                   machine.http,         machine.restorePoints, machine.libraries,
                   machine.signatures};
}

} // namespace grimsweep::win32
