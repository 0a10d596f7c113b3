// Live Update over the real WinINet under Wine, against gsdefs.exe serve on 127.0.0.1: the fetch reads the
// body whatever the status, in 256-byte chunks, and the whole conversation applies the published records
// and stores the service's date.
#include <gtest/gtest.h>

#include "win32/helper_programs.h"
#include "win32/temp_folder.h"

#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/definition_status.h"
#include "definitions/line_code.h"
#include "platform/win32/win32_machine.h"
#include "ui/headless_host.h"
#include "update/definition_publisher.h"
#include "update/definition_service.h"
#include "update/http_fetch.h"

namespace grimsweep::win32 {
namespace {

constexpr const char* kService = "http://127.0.0.1:18087";

class LiveUpdateTest : public TempFolderTest {
protected:
    LiveUpdateTest() : TempFolderTest("grimsweep-live-update-test"), context(machine.View(), host) {}

    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder + "\\data";
        ASSERT_TRUE(files.CreateFolder(context.dataFolder));
        ASSERT_TRUE(files.CreateFolder(folder + "\\service"));
        std::string error;
        const auto lines =
            PublicationLines("9/1/2006 4:00:00 PM",
                             "EXE|ADD|gloombar.exe=Gloom Toolbar|Adware\nCOOK|ADD|trackmoth=x\n", error);
        ASSERT_TRUE(lines.has_value()) << error;
        ASSERT_TRUE(files.WriteFile(folder + "\\service\\" + std::string(kPublishedFile), *lines));
        ASSERT_TRUE(
            files.WriteFile(folder + "\\service\\" + std::string(kLocalizationFile), std::string(256, 'L')));
    }

    // Waits until the started service answers.
    bool StartService(HelperProcess& server, const std::string& service = kService) {
        for (int wait = 0; wait < 100 && server.Running(); ++wait) {
            if (machine.http.Get(service + "/asp/date.asp", 256, {})) {
                return true;
            }
            Sleep(50);
        }
        return false;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
};

TEST_F(LiveUpdateTest, TheRealFetchAndConversationAgainstTheLocalService) {
    HelperProcess server("\"" + BesideTestProgram(GRIMSWEEP_GSDEFS_NAME) + "\" serve \"" + folder +
                         "\\service\" --port 18087");
    ASSERT_TRUE(server.Started());
    ASSERT_TRUE(StartService(server));

    EXPECT_EQ(FetchUrlText(context, std::string(kService) + "/asp/date.asp"), "9/1/2006 4:00:00 PM");
    std::vector<std::size_t> received;
    const auto exact = machine.http.Get(std::string(kService) + "/Languages/21/Localization.xml",
                                        kFetchChunkBytes, [&](std::size_t bytes) {
                                            received.push_back(bytes);
                                            return true;
                                        });
    ASSERT_TRUE(exact.has_value());
    EXPECT_EQ(*exact, std::string(256, 'L'));
    EXPECT_EQ(received, (std::vector<std::size_t>{256})) << "one chunk of 256 bytes, then the end";
    EXPECT_EQ(FetchUrlText(context, std::string(kService) + "/no/such/page"), "")
        << "a 404 answer is a failed fetch, not a body";
    EXPECT_EQ(FetchUrlText(context, "http://127.0.0.1:1/"), "") << "nothing listens there";

    // The collection page gets the scrambled names byte for byte, bytes of 0x80 and above included.
    std::string scrambled = EncodeDefinitionLine("gloomupd.exe") + "|";
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        scrambled += static_cast<char>(byte);
    }
    scrambled += "|";
    EXPECT_EQ(FetchUrlText(context, std::string(kService) + "/asp/getData.asp?data=" + scrambled), "Added");
    EXPECT_EQ(files.ReadFile(folder + "\\service\\" + std::string(kDataLogFile)), "data=" + scrambled + "\n");

    // Escaped query values are read decoded; a malformed escape is a bad request and is not logged.
    EXPECT_FALSE(FetchUrlText(context, std::string(kService) +
                                           "/asp/getDefsNEW.asp?date=9%2F1%2F2006%203%3A59%3A59%20PM")
                     .empty())
        << "the records published after the escaped date";
    // (The service answers them 400, which the fetch takes for a failure.)
    EXPECT_EQ(FetchUrlText(context, std::string(kService) + "/asp/getDefsNEW.asp?date=9%2G1%2F2006"), "");
    EXPECT_EQ(FetchUrlText(context, std::string(kService) + "/asp/getData.asp?data=a%G1b"), "");
    EXPECT_EQ(files.ReadFile(folder + "\\service\\" + std::string(kDataLogFile)), "data=" + scrambled + "\n");

    const UpdateOutcome outcome = FetchAndApplyUpdates(context, kService, nullptr);
    EXPECT_TRUE(outcome.reached);
    EXPECT_EQ(outcome.changes, 3) << "EXE into two files, COOK into one";
    EXPECT_EQ(outcome.newDate, "9/1/2006 4:00:00 PM");
    EXPECT_EQ(ReadDefinitionsDate(files, machine.system, context.dataFolder), "9/1/2006 4:00:00 PM");
    EXPECT_EQ(FetchAndApplyUpdates(context, kService, nullptr).changes, 0) << "nothing newer the second time";
    server.Stop();
}

// Ctrl+C in the service's console ends it with exit 0. The test joins the service's own console to send
// the event there, ignoring it itself meanwhile.
TEST_F(LiveUpdateTest, TheServiceEndsCleanlyOnCtrlC) {
    HelperProcess server("\"" + BesideTestProgram(GRIMSWEEP_GSDEFS_NAME) + "\" serve \"" + folder +
                             "\\service\" --port 18088",
                         std::nullopt, CREATE_NEW_CONSOLE);
    ASSERT_TRUE(server.Started());
    ASSERT_TRUE(StartService(server, "http://127.0.0.1:18088"));
    FreeConsole();
    ASSERT_TRUE(AttachConsole(server.Id())) << GetLastError();
    SetConsoleCtrlHandler(nullptr, TRUE);
    const bool sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    const std::optional<DWORD> exit = server.WaitForExit(5000);
    FreeConsole();
    SetConsoleCtrlHandler(nullptr, FALSE);
    EXPECT_TRUE(sent) << GetLastError();
    EXPECT_EQ(exit, std::optional<DWORD>(0)) << "ended by itself, with exit 0";
}

} // namespace
} // namespace grimsweep::win32
