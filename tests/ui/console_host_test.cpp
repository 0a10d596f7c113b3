#include "ui/console_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace grimsweep {
namespace {

TEST(ConsoleHost, PrintsEachBoxAndAnswersCautiouslyWithoutWaiting) {
    std::ostringstream out;
    ConsoleHost host(out);
    EXPECT_EQ(host.ShowMessageBox({"Definition files are missing.\r\n\r\nPlease run Live Update.",
                                   "Grimsweep", MessageBoxButtons::Ok, MessageBoxIcon::Information}),
              MessageBoxAnswer::Ok);
    EXPECT_EQ(host.ShowMessageBox({"Remove the ticked items?", "Grimsweep", MessageBoxButtons::YesNo}),
              MessageBoxAnswer::No);
    EXPECT_EQ(
        host.ShowMessageBox({"Access denied.", "Permission Denied", MessageBoxButtons::AbortRetryIgnore}),
        MessageBoxAnswer::Abort);
    EXPECT_EQ(out.str(), "Grimsweep: Definition files are missing.\nPlease run Live Update.\n"
                         "Grimsweep: Remove the ticked items? [No]\n"
                         "Permission Denied: Access denied. [Abort]\n");
    EXPECT_EQ(host.Shown().size(), 3u);
}

TEST(ConsoleHost, TheConsoleProgramDecidesTheAnswers) {
    std::ostringstream out;
    ConsoleHost host(out, [](const MessageBoxRequest&) { return MessageBoxAnswer::Yes; });
    EXPECT_EQ(host.ShowMessageBox({"Remove?", "Grimsweep", MessageBoxButtons::YesNo}), MessageBoxAnswer::Yes);
    EXPECT_EQ(out.str(), "Grimsweep: Remove? [Yes]\n");
}

} // namespace
} // namespace grimsweep
