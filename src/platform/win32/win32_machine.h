// The real machine: every platform interface over Win32.
#pragma once

#include "platform/machine.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_process_names.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_restore_points.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_signatures.h"
#include "platform/win32/win32_system.h"

namespace grimsweep::win32 {

class Win32Machine {
public:
    Win32Machine() = default;
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

    Machine View() {
        return Machine{registry, files, processes,     processNames, shell,
                       system,   http,  restorePoints, libraries, signatures};
    }

    Win32Registry registry;
    Win32FileSystem files;
    Win32Processes processes;
    Win32ProcessNames processNames;
    Win32Shell shell;
    Win32System system;
    Win32Http http;
    Win32RestorePoints restorePoints;
    Win32Libraries libraries;
    Win32Signatures signatures;
};

} // namespace grimsweep::win32
