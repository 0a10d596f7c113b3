// The Win32 host's message pump under Wine: a quit that arrives while a long task pumps messages is kept
// for the outer loop (which then ends with its exit code) and the task can see it; a wait for the next
// message sleeps until a posted message or a timer wakes it and gives up when a quit arrives.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/win32/win32_ui_host.h"
#include "ui/form.h"

namespace grimsweep::win32 {
namespace {

using ui::ControlType;

constexpr int kLostQuit = 99;

// Ends a message loop that lost its quit, so that the fault fails the test instead of hanging it.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(kLostQuit);
}

class MessagePump : public ::testing::Test {
protected:
    void SetUp() override {
        form.SetCaption("Message pump");
        form.Move(600, 600, 4800, 3000);
        start.SetInterval(20);
        start.SetEnabled(true);
        watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
    }
    void TearDown() override { KillTimer(nullptr, watchdog); }

    // A long task as the scan runs it: one pump per item, until it is done or the program ends.
    int LongTask(const std::function<void(int)>& item) {
        int items = 0;
        for (; items < 400 && !host.QuitPending(); ++items) {
            item(items);
            host.PumpMessages();
            Sleep(5);
        }
        return items;
    }

    Win32UiHost host;
    ui::Form form{host, "frmMain"};
    ui::Control& start = form.Add("tmrStart", ControlType::Timer);
    UINT_PTR watchdog = 0;
};

TEST_F(MessagePump, ClosingTheWindowWhileALongTaskPumpsEndsTheProgram) {
    form.onUnload = [&] { host.Quit(); };
    int items = 0;
    start.onTimer = [&] {
        start.SetEnabled(false);
        items = LongTask([&](int i) {
            if (i == 5) {
                PostMessageW(reinterpret_cast<HWND>(form.hostHandle), WM_CLOSE, 0, 0); // the close box
            }
        });
    };
    form.Show();
    EXPECT_EQ(host.Run(), 0);
    EXPECT_LT(items, 50) << "the task saw the program end";
    EXPECT_FALSE(form.Loaded());
}

TEST_F(MessagePump, AQuitFromElsewhereIsKeptWithItsExitCode) {
    bool waitGaveUp = false;
    start.onTimer = [&] {
        start.SetEnabled(false);
        LongTask([&](int i) {
            if (i == 5) {
                PostQuitMessage(7);
            }
        });
        waitGaveUp = !host.WaitForMessage(); // returns at once: the program is ending
    };
    form.Show();
    EXPECT_EQ(host.Run(), 7);
    EXPECT_TRUE(host.QuitPending());
    EXPECT_TRUE(waitGaveUp);
}

TEST_F(MessagePump, WaitingSleepsUntilAPostedMessageOrATimerWakesIt) {
    int closeRequests = 0;
    form.onCloseRequest = [&] {
        ++closeRequests;
        return false;
    };
    start.SetEnabled(false);
    form.Show();
    host.PumpMessages();
    HWND window = reinterpret_cast<HWND>(form.hostHandle);

    // A message posted from another thread after 300 ms: a wait that spins would come back hundreds of
    // times meanwhile.
    int waits = 0;
    const ULONGLONG before = GetTickCount64();
    std::thread poster([window] {
        Sleep(300);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    while (closeRequests == 0 && host.WaitForMessage()) {
        ++waits;
    }
    poster.join();
    EXPECT_EQ(closeRequests, 1);
    EXPECT_GE(GetTickCount64() - before, 250u);
    EXPECT_LT(waits, 20);

    int ticks = 0;
    start.onTimer = [&] { ++ticks; };
    start.SetInterval(100);
    start.SetEnabled(true);
    waits = 0;
    while (ticks < 2 && host.WaitForMessage()) {
        ++waits;
    }
    EXPECT_EQ(ticks, 2);
    EXPECT_LT(waits, 20);
    start.SetEnabled(false);
    form.Unload();
}

TEST_F(MessagePump, AWaitGivesUpWhenAQuitArrives) {
    start.onTimer = [&] { PostQuitMessage(3); }; // the quit comes while the program waits
    form.Show();
    int waits = 0;
    while (waits < 200 && host.WaitForMessage()) {
        ++waits;
    }
    EXPECT_LT(waits, 20);
    EXPECT_TRUE(host.QuitPending());
    start.SetEnabled(false);
    EXPECT_EQ(host.Run(), 3) << "the quit is still there for the loop that ends the program";
}

} // namespace
} // namespace grimsweep::win32
