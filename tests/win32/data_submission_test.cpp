// The anonymous data submission over the real management query (WMI) and WinINet under Wine, against
// gsdefs.exe serve on 127.0.0.1, which appends every collection query to getData.log.
#include <gtest/gtest.h>

#include <algorithm>

#include "win32/helper_programs.h"
#include "win32/local_definition_service.h"
#include "win32/temp_folder.h"

#include "common/text.h"
#include "core/context.h"
#include "definitions/line_code.h"
#include "platform/win32/win32_machine.h"
#include "report/data_submission.h"
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
    ASSERT_TRUE(log.starts_with("data=")) << log;
    ASSERT_TRUE(log.ends_with("\n"));
    EXPECT_EQ(log.find('\n'), log.size() - 1) << "one query";
    const std::string payload = log.substr(5, log.size() - 6);
    EXPECT_FALSE(payload.ends_with("|"));
    std::vector<std::string> sent;
    for (const std::string& part : Split(payload, "|")) {
        sent.push_back(DecodeDefinitionLine(part));
    }
    EXPECT_EQ(payload.find("services.exe"), std::string::npos) << "names never go in plain text";
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
    form.Get(kSubmitNameBox).SetText("gloomupd.exe");
    submission.SubmitFileName();
    EXPECT_EQ(Log(), "data=" + EncodeDefinitionLine("gloomupd.exe") + "|\n");
    EXPECT_EQ(form.Get(kSubmitResultLabel).Caption(), "Results: gloomupd.exe Submitted.  Thank you!");
    EXPECT_EQ(form.Get(kSubmitNameBox).Text(), "");
}

} // namespace
} // namespace grimsweep::win32
