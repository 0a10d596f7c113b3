// Update records applied to the definition files: where each kind goes and in which stored form, the
// deletions with their one rewrite per file, the ADD that cancels a bare-name DEL, and failures that
// end the work without losing a definition file.
#include "update/update_records.h"

#include <gtest/gtest.h>

#include <functional>

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
    // The new contents written beside the definition files and not yet put in their place.
    std::size_t PendingFiles() {
        return sim.files.FindEntries(context.DataFile("*" + std::string(kPendingUpdateSuffix))).size();
    }

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
    EXPECT_EQ(PendingFiles(), 0u);

    // A deletion that carries more than the name is not cancelled by the ADD that follows, but it only
    // removes what was there before it: the corrected line stays. A deletion after an ADD removes it.
    text = Record("FILE", "DEL", "gone.exe=Gone|x") + "[BR]" +
           Record("FILE", "ADD", "gone.exe=Gone Thrice|z") + "[BR]" +
           Record("FILE", "ADD", "brief.exe=Brief|b") + "[BR]" + Record("FILE", "DEL", "BRIEF.EXE");
    EXPECT_EQ(Apply(text), 3) << "two appended lines and one rewrite";
    EXPECT_EQ(Plain(kFileDefinitionFile),
              (std::vector<std::string>{"keep.exe=Keeper|x", "gone.exe=Gone Thrice|z"}));
}

// Records of one name in changing letter case, interleaved: an ADD whose body has "=" cancels the
// earlier DELs whose whole text is its name; every other DEL drops the lines of its name that came
// before it, in the file or added by the update.
TEST_F(UpdateRecordsTest, InterleavedRecordsOfOneNameFollowTheOrderAndCancellationRules) {
    using Records = std::vector<std::pair<std::string, std::string>>; // action, plain body
    const auto repeat = [](int times, const std::function<Records(int)>& pair) {
        Records records;
        for (int i = 0; i < times; ++i) {
            const Records more = pair(i);
            records.insert(records.end(), more.begin(), more.end());
        }
        return records;
    };
    const auto added = [](int from, int to) {
        std::vector<std::string> lines;
        for (int i = from; i < to; ++i) {
            lines.push_back("gloom.exe=New " + std::to_string(i) + "|y");
        }
        return lines;
    };
    const auto with = [](std::vector<std::string> lines, const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    const std::vector<std::string> old = {"Gloom.exe=Old|x", "keep.exe=Keep|x", "GLOOM.EXE=Older|x"};
    const std::vector<std::string> kept = {"keep.exe=Keep|x"};
    struct Case {
        const char* what;
        Records records;
        int changes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a bare DEL is cancelled by the ADD after it",
         {{"DEL", "GLOOM.EXE"}, {"ADD", "gloom.exe=New 0|y"}},
         1,
         with(old, added(0, 1))},
        {"two bare DELs in different case are both cancelled by one ADD",
         {{"DEL", "gloom.exe"}, {"DEL", "GLOOM.exe"}, {"ADD", "gloom.exe=New 0|y"}},
         1,
         with(old, added(0, 1))},
        {"a DEL with more than the name stays and drops only the lines before it",
         {{"DEL", "gloom.EXE=Old|x"}, {"ADD", "gloom.exe=New 0|y"}},
         2,
         with(kept, added(0, 1))},
        {"a DEL after the ADD drops the added line too",
         {{"ADD", "gloom.exe=New 0|y"}, {"DEL", "Gloom.Exe"}},
         2,
         kept},
        {"an ADD without = cancels nothing",
         {{"DEL", "gloom.exe"}, {"ADD", "Gloom.exe"}},
         2,
         {"keep.exe=Keep|x", "Gloom.exe"}},
        {"each ADD cancels only the bare DELs before it; the whole-line DEL stays",
         {{"DEL", "GLOOM.exe=Old|x"},
          {"ADD", "gloom.exe=New 0|y"},
          {"DEL", "gloom.EXE"},
          {"ADD", "gloom.exe=New 1|y"}},
         3,
         with(kept, added(0, 2))},
        // An update sent again: the lines the file keeps are not doubled.
        {"an ADD of a line the file holds adds nothing", {{"ADD", "keep.exe=Keep|x"}}, 1, old},
        {"the same ADD twice adds one line",
         {{"ADD", "gloom.exe=New 0|y"}, {"ADD", "gloom.exe=New 0|y"}},
         2,
         with(old, added(0, 1))},
        {"in a rewrite, an ADD of a kept line adds nothing and one of a dropped line comes back",
         {{"DEL", "gloom.exe=x"}, {"ADD", "keep.exe=Keep|x"}, {"ADD", "Gloom.exe=Old|x"}},
         3,
         {"keep.exe=Keep|x", "Gloom.exe=Old|x"}},
        {"a thousand bare DEL/ADD pairs: every DEL cancelled, nothing rewritten",
         repeat(1000,
                [](int i) {
                    return Records{{"DEL", i % 2 ? "GLOOM.EXE" : "gloom.exe"},
                                   {"ADD", "gloom.exe=New " + std::to_string(i) + "|y"}};
                }),
         1000, with(old, added(0, 1000))},
        {"a thousand whole-line DEL/ADD pairs: each DEL drops every line before it, only the last ADD "
         "stays",
         repeat(1000,
                [](int i) {
                    return Records{{"DEL", i % 2 ? "GLOOM.EXE=x" : "Gloom.exe=x"},
                                   {"ADD", "gloom.exe=New " + std::to_string(i) + "|y"}};
                }),
         1001, with(kept, added(999, 1000))},
        {"a thousand bare pairs with one whole-line DEL in the middle: the ADDs before it go",
         repeat(1000,
                [](int i) {
                    return Records{{"DEL", i == 500 ? "gloom.exe=x" : (i % 2 ? "GLOOM.EXE" : "Gloom.exe")},
                                   {"ADD", "gloom.exe=New " + std::to_string(i) + "|y"}};
                }),
         1001, with(kept, added(500, 1000))},
    };
    for (const Case& c : cases) {
        PutDefinitions(kFileDefinitionFile, old);
        std::string text;
        for (const auto& [action, body] : c.records) {
            text += Record("FILE", action, body) + "[BR]";
        }
        EXPECT_EQ(Apply(text), c.changes) << c.what;
        EXPECT_EQ(Plain(kFileDefinitionFile), c.lines) << c.what;
    }
}

TEST_F(UpdateRecordsTest, AMissingDefinitionFileIsCreatedByItsRecords) {
    ASSERT_FALSE(sim.files.Exists(context.DataFile(kExeDefinitionFile)));
    EXPECT_EQ(Apply(Record("EXE", "ADD", "evil.exe=Evil|[windir]")), 2);
    EXPECT_EQ(Plain(kExeDefinitionFile), (std::vector<std::string>{"evil.exe=Evil|[windir]"}));
    EXPECT_EQ(Plain(kFileDefinitionFile), (std::vector<std::string>{"evil.exe=Evil|[windir]"}));

    // Deletions alone for a missing file leave it there and empty, rewritten once.
    EXPECT_EQ(Apply(Record("SDLL", "DEL", "lib.dll")), 1);
    EXPECT_TRUE(sim.files.Exists(context.DataFile(kSafetyFile)));
    EXPECT_EQ(sim.files.Contents(context.DataFile(kSafetyFile)), "");
    EXPECT_EQ(PendingFiles(), 0u);
}

TEST_F(UpdateRecordsTest, LinesKeepTheirPlaceWhateverTheirLineEnds) {
    sim.files.PutFile(context.DataFile(kBlockedCookiesFile), EncodeDefinitionLine("oldsite"));
    EXPECT_EQ(Apply(Record("COOK", "ADD", "newsite=x")), 1);
    EXPECT_EQ(Plain(kBlockedCookiesFile), (std::vector<std::string>{"oldsite", "newsite"}))
        << "an added line never joins a last line without its line break";

    // A rewrite keeps lines ended by LF alone and a last line without an end, each with CR LF.
    const auto stored = [](std::string_view plain) { return EncodeDefinitionLine(plain); };
    sim.files.PutFile(context.DataFile(kDirectoryDefinitionFile),
                      stored("a=A|x") + "\r\n" + stored("b=B|x") + "\n" + stored("old=O|x") + "\r\n\r\n" +
                          stored("c=C|x") + "\r\n" + stored("d=D|x"));
    EXPECT_EQ(Apply(Record("DIR", "DEL", "OLD")), 1);
    EXPECT_EQ(sim.files.Contents(context.DataFile(kDirectoryDefinitionFile)),
              stored("a=A|x") + "\r\n" + stored("b=B|x") + "\r\n" + stored("c=C|x") + "\r\n" +
                  stored("d=D|x") + "\r\n");
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

TEST_F(UpdateRecordsTest, AnUpdateAppliesToEveryFileOrToNone) {
    PutDefinitions(kFileDefinitionFile, {"keep.exe=Keeper|x", "old.exe=Old|x"});
    PutDefinitions(kRegistryDefinitionFile, {"2^SOFTWARE\\Keep^^=Keep|x"});
    const std::string before = sim.files.Contents(context.DataFile(kFileDefinitionFile));
    const std::string text = Record("FILE", "ADD", "new.exe=New|x") + "[BR]" +
                             Record("FILE", "DEL", "old.exe") + "[BR]" +
                             Record("COOK", "ADD", "trackmoth=x") + "[BR]" +
                             Record("REG", "ADD", "gloom=Gloom|2^SOFTWARE\\Gloom^|Adware");
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(sim.files.Contents(context.DataFile(kFileDefinitionFile)), before) << what;
        EXPECT_EQ(Plain(kRegistryDefinitionFile), (std::vector<std::string>{"2^SOFTWARE\\Keep^^=Keep|x"}))
            << what;
        EXPECT_FALSE(sim.files.Exists(context.DataFile(kBlockedCookiesFile))) << what;
        EXPECT_EQ(PendingFiles(), 0u) << what;
    };

    // The cookie file cannot take its new contents' place after the first file already did: the first
    // gets its old contents back.
    const std::string cookiesPending =
        context.DataFile(kBlockedCookiesFile) + std::string(kPendingUpdateSuffix);
    sim.files.SetMoveFails(cookiesPending, true);
    EXPECT_EQ(Apply(text), 0);
    unchanged("a failed replacement");
    sim.files.SetMoveFails(cookiesPending, false);

    const std::string registryPending =
        context.DataFile(kRegistryDefinitionFile) + std::string(kPendingUpdateSuffix);
    sim.files.SetWriteFails(registryPending, true);
    EXPECT_EQ(Apply(text), 0);
    unchanged("a failed write");
    sim.files.SetWriteFails(registryPending, false);

    sim.files.SetReadFails(context.DataFile(kRegistryDefinitionFile), true);
    EXPECT_EQ(Apply(text), 0);
    sim.files.SetReadFails(context.DataFile(kRegistryDefinitionFile), false);
    unchanged("an unreadable file");

    EXPECT_EQ(Apply(text), 4) << "with nothing failing, the whole update applies";
    EXPECT_EQ(Plain(kFileDefinitionFile), (std::vector<std::string>{"keep.exe=Keeper|x", "new.exe=New|x"}));
    EXPECT_EQ(Plain(kBlockedCookiesFile), (std::vector<std::string>{"trackmoth"}));
    EXPECT_EQ(PendingFiles(), 0u);
}

} // namespace
} // namespace grimsweep
