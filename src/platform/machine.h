// The machine the program runs on: one reference per platform interface. The entry points build a
// real (Win32) or simulated machine and hand it to the program object.
#pragma once

#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/libraries.h"
#include "platform/process_names.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/restore_points.h"
#include "platform/shell.h"
#include "platform/signatures.h"
#include "platform/system.h"

namespace grimsweep {

struct Machine {
    IRegistry& registry;
    IFileSystem& files;
    IProcesses& processes;
    IProcessNames& processNames;
    IShell& shell;
    ISystem& system;
    IHttp& http;
    IRestorePoints& restorePoints;
    ILibraries& libraries;
    ISignatures& signatures;
};

} // namespace grimsweep
