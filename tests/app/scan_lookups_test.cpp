// The special folders are looked up once per scan, whatever the number of definition lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../definitions/definitions_fixture.h"
#include "definitions/definition_files.h"
#include "main_window_fixture.h"

namespace grimsweep {
namespace {

class ScanLookupsTest : public MainWindowTest {
protected:
    // Every definition file with `lines` lines that name folders through macros.
    void PutDefinitions(int lines) {
        std::vector<std::string> files, folders, registry, executables;
        for (int i = 0; i < lines; ++i) {
            const std::string n = std::to_string(i);
            files.push_back("f" + n + ".dll=Threat " + n + "|[progfil]Vendor" + n + "|Adware");
            folders.push_back("Label " + n + "=Threat " + n + "|[appdata]Vendor" + n);
            registry.push_back("2^SOFTWARE\\Vendor" + n + "^=Threat " + n);
            executables.push_back("e" + n + ".exe=Threat " + n + "|[windir]");
        }
        Put(kFileDefinitionFile, files);
        Put(kDirectoryDefinitionFile, folders);
        Put(kRegistryDefinitionFile, registry);
        Put(kExeDefinitionFile, executables);
        Put(kBlockedCookiesFile, {"ads.example"});
    }
    void Put(std::string_view name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& line : lines) {
            bytes += EncodeDefinitionLine(line) + "\r\n";
        }
        sim.files.PutFile(context->DataFile(name), bytes);
    }
    int LookupsOfOneScan() {
        const int before = sim.shell.folderLookups;
        Control("cmdScanNow").Click();
        return sim.shell.folderLookups - before;
    }
};

TEST_F(ScanLookupsTest, AScanLooksTheSpecialFoldersUpOnceWhateverTheNumberOfLines) {
    Open();
    PutDefinitions(1);
    const int few = LookupsOfOneScan();
    PutDefinitions(2000);
    const int many = LookupsOfOneScan();
    EXPECT_GT(few, 0);
    EXPECT_EQ(many, few);
    EXPECT_EQ(Control("lblFilesFolderInspected").Caption(), "4000");
    EXPECT_EQ(Control("lblRegistryInspected").Caption(), "2000");
}

} // namespace
} // namespace grimsweep
