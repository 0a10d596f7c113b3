// Update records applied to the definition files: where each kind goes and in which stored form, the
// deletions with their one rewrite per file, the ADD that cancels a bare-name DEL, and failures that
// end the work without losing a definition file.
#include "update/update_records.h"

#include <gtest/gtest.h>

#include "../definitions/definitions_fixture.h"
#include "definitions/definition_files.h"
#include "ui/control.h"
#include "ui/form.h"

namespace grimsweep {
namespace {

// A record as the service sends it: the kind encoded, the body encoded except for "|" and "=".
std::string Record(std::string_view kind, std::string_view action, std::string_view plainBody) {
    std::string body;
    for (char c : plainBody) {
        body += (c == '|' || c == '=') ? std::string(1, c) : EncodeDefinitionLine(std::string(1, c));
    }
    return EncodeDefinitionLine(kind) + "|" + std::string(action) + "[DEF]" + body;
}

class UpdateRecordsTest : public DefinitionsTest {
protected:
    std::vector<std::string> Plain(std::string_view file) {
        std::vector<std::string> lines;
        const std::string stored = sim.files.Contents(context.DataFile(file));
        for (const std::string& line : Split(stored, "\r\n")) {
            if (!line.empty()) {
                lines.push_back(DecodeDefinitionLine(line));
            }
        }
        return lines;
    }
    int Apply(const std::string& text) { return ApplyUpdateRecords(context, text, &status); }

    ui::Form form{host, "frmDownload"};
    ui::Control& status = form.Add("txtStatus", ui::ControlType::TextBox);
};

TEST_F(UpdateRecordsTest, EachKindGoesToItsFilesInItsStoredForm) {
    const std::string text = Record("EXE", "ADD", "evil.exe=Evil Threat|Adware") + "[br]" +
                             Record("REG", "ADD", "gloom=Gloom Toolbar|2^SOFTWARE\\Gloom^|Adware") +
                             " [BR] " + Record("COOK", "ADD", "trackmoth=anything") + "[Br] " +
                             Record("DIR", "ADD", "Gloom=Gloom Toolbar|[progfil]Gloom") + "[BR]" +
                             Record("SAFE", "ADD", "explorer.exe=C:\\windows") + "[BR]" +
                             Record("WORM", "ADD", "nothing=here") + "[BR]" + "no marker here[BR]" +
                             EncodeDefinitionLine("EXE") + "[DEF]no action[BR]   [BR]";
    EXPECT_EQ(Apply(text), 6) << "EXE counts twice; the unknown kind and the broken records nothing";
    EXPECT_EQ(Plain(kFileDefinitionFile), (std::vector<std::string>{"evil.exe=Evil Threat|Adware"}));
    EXPECT_EQ(Plain(kExeDefinitionFile), (std::vector<std::string>{"evil.exe=Evil Threat|Adware"}));
    EXPECT_EQ(Plain(kRegistryDefinitionFile),
              (std::vector<std::string>{"2^SOFTWARE\\Gloom^^=Gloom Toolbar|Adware"}));
    EXPECT_EQ(Plain(kBlockedCookiesFile), (std::vector<std::string>{"trackmoth"}));
    EXPECT_EQ(Plain(kDirectoryDefinitionFile),
              (std::vector<std::string>{"Gloom=Gloom Toolbar|[progfil]Gloom"}));
    EXPECT_EQ(Plain(kSafetyFile), (std::vector<std::string>{"SAFE|explorer.exe=C:\\windows"}));
    EXPECT_EQ(status.Caption(), "Applying new updates...");
}

TEST_F(UpdateRecordsTest, DeletionsRewriteEachFileOnceAndABareNameDeletionIsCancelledByAnAdd) {
    PutDefinitions(kFileDefinitionFile,
                   {"keep.exe=Keeper|x", "old.exe=Old|x", "", "Stale.dll=Stale|x", "gone.exe=Gone|x"});
    // Two deletions and one re-added bare name: one rewrite for the file.
    std::string text = Record("FILE", "DEL", "old.exe") + "[BR]" + Record("FILE", "DEL", "STALE.DLL") +
                       "[BR]" + Record("FILE", "DEL", "gone.exe") + "[BR]" +
                       Record("FILE", "ADD", "gone.exe=Gone Again|y");
    EXPECT_EQ(Apply(text), 2) << "one appended line and one rewrite";
    EXPECT_EQ(Plain(kFileDefinitionFile),
              (std::vector<std::string>{"keep.exe=Keeper|x", "gone.exe=Gone|x", "gone.exe=Gone Again|y"}));
    EXPECT_FALSE(sim.files.Exists(context.DataFile(kTemporaryDefinitionFile)));

    // A deletion that carries more than the name is not cancelled, and takes the new line with it.
    text =
        Record("FILE", "DEL", "gone.exe=Gone|x") + "[BR]" + Record("FILE", "ADD", "gone.exe=Gone Thrice|z");
    EXPECT_EQ(Apply(text), 2);
    EXPECT_EQ(Plain(kFileDefinitionFile), (std::vector<std::string>{"keep.exe=Keeper|x"}));
}

TEST_F(UpdateRecordsTest, ALongRewriteReportsItsProgressEveryHundredLines) {
    std::vector<std::string> lines;
    for (int i = 0; i < 250; ++i) {
        lines.push_back("item" + std::to_string(i) + ".exe=Item|x");
    }
    PutDefinitions(kExeDefinitionFile, lines);
    std::vector<std::string> shown;
    host.onPump = [&] { shown.push_back(status.Caption()); };
    EXPECT_EQ(Apply(Record("EXE", "DEL", "item7.exe")), 2) << "FileDefinition.dat rewritten too";
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Removing outdated definitions: checking entry 200"),
              shown.end());
    EXPECT_EQ(Plain(kExeDefinitionFile).size(), 249u);
}

TEST_F(UpdateRecordsTest, AFailureEndsTheWorkAndNeverLeavesAFileMissing) {
    PutDefinitions(kFileDefinitionFile, {"keep.exe=Keeper|x", "old.exe=Old|x"});
    sim.files.SetMoveFails(context.DataFile(kTemporaryDefinitionFile), true);
    const std::string text = Record("FILE", "ADD", "new.exe=New|x") + "[BR]" +
                             Record("FILE", "DEL", "old.exe") + "[BR]" + Record("COOK", "ADD", "trackmoth=x");
    EXPECT_EQ(Apply(text), 2) << "the append and the rewrite counted; the cookie never reached";
    EXPECT_EQ(Plain(kFileDefinitionFile),
              (std::vector<std::string>{"keep.exe=Keeper|x", "old.exe=Old|x", "new.exe=New|x"}))
        << "the file stays whole when its copy cannot take its place";
    EXPECT_FALSE(sim.files.Exists(context.DataFile(kTemporaryDefinitionFile)));
    EXPECT_FALSE(sim.files.Exists(context.DataFile(kBlockedCookiesFile)));

    sim.files.SetMoveFails(context.DataFile(kTemporaryDefinitionFile), false);
    sim.files.SetWriteFails(context.DataFile(kExeDefinitionFile), true);
    EXPECT_EQ(Apply(Record("EXE", "ADD", "more.exe=More|x")), 1) << "stops at the file it cannot write";
}

} // namespace
} // namespace grimsweep
