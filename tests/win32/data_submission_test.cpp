// The anonymous data submission over the real management query (WMI) and WinINet under Wine, against
// gsdefs.exe serve on 127.0.0.1, which appends every collection query to getData.log. The nginx site
// test runs them against nginx instead: GRIMSWEEP_COLLECTION_SERVICE names its address and
// GRIMSWEEP_COLLECTION_LOG its submission log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "win32/helper_programs.h"
#include "win32/local_definition_service.h"
#include "win32/temp_folder.h"

#include "common/percent_encoding.h"
#include "common/text.h"
#include "core/context.h"
#include "definitions/line_code.h"
#include "platform/win32/win32_machine.h"
#include "report/data_submission.h"
#include "report/submission_payload.h"
#include "ui/form.h"
#include "ui/headless_host.h"
#include "update/definition_publisher.h"
#include "update/service_addresses.h"

namespace grimsweep::win32 {
namespace {

class DataSubmissionTest : public TempFolderTest {
protected:
    DataSubmissionTest()
        : TempFolderTest("grimsweep-data-submission-test"), context(machine.View(), host),
          form(host, "FrmMain") {
        context.messages.RegisterDefaults();
        for (std::string_view name : {kSubmitNameBox, kSubmitResultLabel}) {
            form.Add(std::string(name),
                     name == kSubmitNameBox ? ui::ControlType::TextBox : ui::ControlType::Label);
        }
        form.Add(std::string(kSendDataBox), ui::ControlType::CheckBox).SetValue(1);
    }

    void SetUp() override {
        TempFolderTest::SetUp();
        servicesFile = BesideTestProgram(std::string(kServicesFileName).c_str());
    }
    void TearDown() override {
        files.DeleteFile(servicesFile);
        TempFolderTest::TearDown();
    }
    // Points the collection service at `address` through Grimsweep.ini beside the test program.
    void CollectAt(const std::string& address) {
        ASSERT_TRUE(files.WriteFile(servicesFile, "[Services]\r\nCollection=" + address + "\r\n"));
    }
    // Starts the collection service and points the program at it.
    void StartService() {
        const char* external = std::getenv("GRIMSWEEP_COLLECTION_SERVICE");
        const char* externalLog = std::getenv("GRIMSWEEP_COLLECTION_LOG");
        if (external && externalLog) {
            logPath = externalLog;
            logStart = files.ReadFile(logPath).value_or("").size();
            CollectAt(external);
            return;
        }
        service.emplace(folder);
        ASSERT_FALSE(service->Address().empty());
        logPath = folder + "\\" + std::string(kDataLogFile);
        CollectAt(service->Address());
    }
    // What this test added to the service's log. A web server may write its log line just after its
    // answer: the line is awaited for a moment.
    std::string Log() {
        std::string added;
        for (int wait = 0; wait < 40; ++wait) {
            added = files.ReadFile(logPath).value_or("").substr(logStart);
            if (added.ends_with("\n")) {
                break;
            }
            Sleep(50);
        }
        return added;
    }
    // The names of the one logged query ("data=" and the percent-encoded payload), unscrambled.
    std::vector<std::string> LoggedNames() {
        const std::string log = Log();
        EXPECT_TRUE(log.starts_with("data=")) << log;
        EXPECT_EQ(log.find('\n'), log.size() - 1) << "one query";
        const auto payload = PercentDecode(log.substr(5, log.size() - 6));
        const auto names = payload ? SplitSubmissionPayload(*payload) : std::nullopt;
        EXPECT_TRUE(names.has_value()) << log;
        std::vector<std::string> plain;
        for (const std::string& name : names.value_or(std::vector<std::string>{})) {
            plain.push_back(DecodeDefinitionLine(name));
        }
        return plain;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    ui::Form form;
    std::string servicesFile;
    std::optional<LocalDefinitionService> service;
    std::string logPath;
    std::size_t logStart = 0;
};

TEST_F(DataSubmissionTest, TheProcessListReachesTheServiceScrambledAndWithoutTheSystemProcesses) {
    const auto running = machine.processNames.RunningProcessNames();
    ASSERT_TRUE(running.has_value());
    // Wine runs services.exe and the test itself: the exclusion is tested against a name that runs.
    ASSERT_NE(std::find(running->begin(), running->end(), "services.exe"), running->end());

    StartService();
    DataSubmission(context, form).SendProcessList();

    const std::string log = Log();
    EXPECT_FALSE(log.ends_with("%7C\n")) << "no separator after the last name";
    const std::vector<std::string> sent = LoggedNames();
    EXPECT_EQ(log.find("services.exe"), std::string::npos) << "names never go in plain text";
    for (std::string_view never : kProcessesNeverSent) {
        EXPECT_EQ(std::find(sent.begin(), sent.end(), never), sent.end()) << never;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_NE(std::find(sent.begin(), sent.end(), AfterLastBackslash(Narrow(self))), sent.end())
        << "the test program itself runs";
}

TEST_F(DataSubmissionTest, AManualSubmissionIsTakenAndThanked) {
    StartService();
    DataSubmission submission(context, form);
    // A name holding the bytes that mean something in a query or a payload.
    const std::string name = "gloomupd & co=50%+ (" + DecodeDefinitionLine("|") + ").exe";
    form.Get(kSubmitNameBox).SetText(name);
    submission.SubmitFileName();
    EXPECT_TRUE(Log().ends_with("%7C\n")) << "the manual submission's separator";
    EXPECT_EQ(LoggedNames(), std::vector<std::string>{name});
    EXPECT_EQ(form.Get(kSubmitResultLabel).Caption(), "Results: " + name + " submitted.  Thank you!");
    EXPECT_EQ(form.Get(kSubmitNameBox).Text(), "");
}

} // namespace
} // namespace grimsweep::win32
