// The anonymous data submission over the real management query (WMI) and WinINet under Wine, against
// gsdefs.exe serve on 127.0.0.1, which appends every collection query to getData.log.
#include <gtest/gtest.h>

#include <algorithm>

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
    std::string Log() { return files.ReadFile(folder + "\\" + std::string(kDataLogFile)).value_or(""); }
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
};

TEST_F(DataSubmissionTest, TheProcessListReachesTheServiceScrambledAndWithoutTheSystemProcesses) {
    const auto running = machine.processNames.RunningProcessNames();
    ASSERT_TRUE(running.has_value());
    // Wine runs services.exe and the test itself: the exclusion is tested against a name that runs.
    ASSERT_NE(std::find(running->begin(), running->end(), "services.exe"), running->end());

    LocalDefinitionService service(folder);
    ASSERT_FALSE(service.Address().empty());
    CollectAt(service.Address());
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
    LocalDefinitionService service(folder);
    ASSERT_FALSE(service.Address().empty());
    CollectAt(service.Address());
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
