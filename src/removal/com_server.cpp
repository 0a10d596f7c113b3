#include "removal/com_server.h"

namespace grimsweep {

bool UnregisterComServer(ILibraries& libraries, std::uintptr_t /*window*/, const std::string& path,
                         bool registerServer) {
    libraries.ProbeExport(path, std::string(registerServer ? kRegisterExport : kUnregisterExport));
    return true;
}

} // namespace grimsweep
