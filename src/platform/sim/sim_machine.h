// A whole simulated Windows machine, ready for the program: every platform interface in memory.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_http.h"
#include "platform/sim/sim_libraries.h"
#include "platform/sim/sim_process_names.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_restore_points.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"

namespace grimsweep::sim {

class SimMachine {
public:
    SimMachine() : processNames(processes) {
        // The folders every profile has, so that files can be put into them directly.
        for (const auto& [csidl, path] : shell.folders) {
            files.PutFolder(path);
        }
        files.PutFile(system.executablePath, "MZ");
    }
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    // The machine as Windows shows it to a standard user: the machine's registry keys, Program Files and
    // the Windows folder can be read but not changed, and other users' processes cannot be opened (the
    // debug privilege is an administrator's).
    void BecomeStandardUser() {
        constexpr std::uint32_t kWriteRights = kKeySetValue | kKeyCreateSubKey | 0x10000; // and DELETE
        for (const char* key : {"SOFTWARE", "SYSTEM"}) {
            registry.DenyAccess(RegistryRoot::LocalMachine, key, kWriteRights);
        }
        for (const int csidl : {36, 38}) { // the Windows folder, Program Files
            if (const auto folder = shell.SpecialFolderPath(csidl)) {
                files.SetReadOnlyTree(*folder, true);
            }
        }
        processes.standardUser = true;
        shell.elevated = false;
    }

    Machine View() {
        return Machine{registry, files, processes,     processNames, shell,
                       system,   http,  restorePoints, libraries,    *signatures};
    }

    SimRegistry registry;
    SimFileSystem files;
    SimProcesses processes;
    SimProcessNames processNames;
    SimShell shell;
    SimSystem system;
    SimHttp http;
    SimRestorePoints restorePoints;
    SimLibraries libraries;
    // The platform's own cryptography: nothing about it is simulated.
    std::unique_ptr<ISignatures> signatures = MakePlatformSignatures();
};

} // namespace grimsweep::sim
