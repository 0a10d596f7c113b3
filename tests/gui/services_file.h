// Grimsweep.ini beside the programs under test, naming the definition service, for as long as the object
// lives.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "update/service_addresses.h"
#include "win32/helper_programs.h"

namespace grimsweep::gui {

class ServicesFile {
public:
    ServicesFile(IFileSystem& files, const std::string& definitions)
        : files_(files), path_(win32::BesideTestProgram(std::string(kServicesFileName).c_str())) {
        files_.WriteFile(path_, "[Services]\r\nDefinitions=" + definitions + "\r\n");
    }
    ~ServicesFile() { files_.DeleteFile(path_); }
    ServicesFile(const ServicesFile&) = delete;
    ServicesFile& operator=(const ServicesFile&) = delete;

private:
    IFileSystem& files_;
    std::string path_;
};

} // namespace grimsweep::gui
