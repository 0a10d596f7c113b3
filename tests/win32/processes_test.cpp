// Processes and process names on the real system under Wine.
#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process_names.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"
#include "win32/helper_programs.h"

namespace grimsweep::win32 {
namespace {

constexpr const char* kTestProgram = "grimsweep_win32_tests.exe";

TEST(Win32Processes, ListsThisProgramWithItsMainModule) {
    Win32Processes processes;
    const auto ids = processes.ListProcessIds();
    ASSERT_TRUE(ids.has_value());
    const std::uint32_t self = GetCurrentProcessId();
    EXPECT_NE(std::find(ids->begin(), ids->end(), self), ids->end());

    const MainModule module = processes.QueryMainModule(self);
    ASSERT_EQ(module.status, ModuleQueryStatus::Ok);
    EXPECT_TRUE(EqualsIgnoreCase(module.baseName, kTestProgram)) << module.baseName;
    Win32System system;
    EXPECT_TRUE(EqualsIgnoreCase(module.fullPath, system.OwnExecutablePath())) << module.fullPath;

    const auto snapshot = processes.Snapshot();
    ASSERT_TRUE(snapshot.has_value());
    EXPECT_TRUE(std::any_of(snapshot->begin(), snapshot->end(), [&](const SnapshotEntry& entry) {
        return entry.id == self && EqualsIgnoreCase(entry.exeName, kTestProgram);
    }));
    EXPECT_EQ(processes.QueryMainModule(0xFFFFFFF0u).status, ModuleQueryStatus::CannotOpen);
}

TEST(Win32Processes, StopsAProgramItStarted) {
    // A child copy of Wine's own console program that waits until stopped.
    std::wstring command = L"cmd.exe /c pause";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &child));
    CloseHandle(child.hThread);
    Win32Processes processes;
    EXPECT_FALSE(processes.WaitForExit(child.dwProcessId, 1));
    EXPECT_TRUE(processes.Terminate(child.dwProcessId, 0, true));
    EXPECT_TRUE(processes.WaitForExit(child.dwProcessId, 5000));
    CloseHandle(child.hProcess);
}

TEST(Win32Processes, StopsAHelperOnlyWhileItRunsTheExpectedImage) {
    const std::string image = BesideTestProgram(GRIMSWEEP_DEMO_THREAT_NAME);
    HelperProcess helper("\"" + image + "\"");
    ASSERT_TRUE(helper.Started());
    Win32Processes processes;
    std::string seen;
    const auto isHelper = [&](const std::string& path) {
        seen = path;
        return EqualsIgnoreCase(path, image);
    };
    const auto isOther = [](const std::string&) { return false; };
    EXPECT_EQ(processes.TerminateIfImage(helper.Id(), isOther, 0, true), CheckedStop::OtherProgram);
    EXPECT_TRUE(helper.Running());
    EXPECT_EQ(processes.TerminateIfImage(helper.Id(), isHelper, 7, true), CheckedStop::Terminated) << seen;
    EXPECT_EQ(helper.WaitForExit(5000), std::optional<DWORD>(7));
    // Ended while this test still holds a handle to it, and an identifier no process has.
    EXPECT_EQ(processes.TerminateIfImage(helper.Id(), isHelper, 0, true), CheckedStop::Gone);
    EXPECT_EQ(processes.TerminateIfImage(0xFFFFFFF0u, isHelper, 0, false), CheckedStop::Gone);
}

TEST(Win32ProcessNames, TheManagementQueryNamesThisProgram) {
    Win32ProcessNames names;
    const auto list = names.RunningProcessNames();
    ASSERT_TRUE(list.has_value());
    EXPECT_TRUE(std::any_of(list->begin(), list->end(),
                            [](const std::string& name) { return EqualsIgnoreCase(name, kTestProgram); }));
}

} // namespace
} // namespace grimsweep::win32
