// The Win32 host's message pump under Wine: a quit that arrives while a long task pumps messages is kept
// for the outer loop (which then ends with its exit code) and the task can see it; a wait for the next
// message sleeps until a posted message or a timer wakes it and gives up when a quit arrives. A task that
// pumps as fast as it can looks at the queue only now and then, yet timer ticks, clicks, posted
// messages, paints and a quit all get through, and the host's own window changes are drawn at once.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "gui/mouse.h"
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

    // A long task that does no waiting of its own (the scan between two presence tests): it pumps at
    // every turn until `done` or two seconds have passed. Returns the number of pumps.
    long BusyLoop(const std::function<bool()>& done) {
        long pumps = 0;
        for (const ULONGLONG end = GetTickCount64() + 2000; !done() && GetTickCount64() < end; ++pumps) {
            host.PumpMessages();
        }
        return pumps;
    }

    // Drains the queue for a while, so that the window's first paints and activation are over.
    void Settle() {
        for (const ULONGLONG end = GetTickCount64() + 300; GetTickCount64() < end; Sleep(10)) {
            host.DrainMessages();
        }
    }

    HWND Window() const { return reinterpret_cast<HWND>(form.hostHandle); }

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

TEST_F(MessagePump, ABusyLoopSkipsTheEmptyQueueYetTicksPostsPaintsAndClicksGetThrough) {
    ui::Control& stop = form.Add("cmdStop", ControlType::CommandButton);
    stop.SetCaption("Stop");
    stop.Move(240, 240, 1500, 450);
    int closeRequests = 0;
    form.onCloseRequest = [&] {
        ++closeRequests;
        return false;
    };
    start.SetEnabled(false);
    form.Show();
    SetForegroundWindow(Window());
    Settle();
    const std::uint64_t drainsBefore = host.Drains();
    long pumps = 0;

    int ticks = 0;
    start.onTimer = [&] { ++ticks; };
    start.SetEnabled(true);
    pumps += BusyLoop([&] { return ticks >= 3; });
    EXPECT_GE(ticks, 3) << "a timer ticks inside the loop";
    start.SetEnabled(false);

    PostMessageW(Window(), WM_CLOSE, 0, 0);
    pumps += BusyLoop([&] { return closeRequests == 1; });
    EXPECT_EQ(closeRequests, 1) << "a posted message runs";

    HWND button = reinterpret_cast<HWND>(stop.hostHandle);
    InvalidateRect(button, nullptr, TRUE);
    pumps += BusyLoop([&] { return !GetUpdateRect(button, nullptr, FALSE); });
    EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE)) << "a window that needs painting is painted";

    int stops = 0;
    stop.onClick = [&] { ++stops; };
    gui::ClickCentre(button);
    pumps += BusyLoop([&] { return stops == 1; });
    EXPECT_EQ(stops, 1) << "a click on Stop lands";

    EXPECT_LT(host.Drains() - drainsBefore, static_cast<std::uint64_t>(pumps / 20))
        << "the queue was looked at in " << host.Drains() - drainsBefore << " of " << pumps << " pumps";
    form.Unload();
}

TEST_F(MessagePump, AQuitFromAnotherThreadEndsABusyLoop) {
    start.SetEnabled(false);
    form.Show();
    Settle();
    const DWORD thread = GetCurrentThreadId();
    std::thread quitter([thread] {
        Sleep(200);
        PostThreadMessageW(thread, WM_QUIT, 4, 0);
    });
    BusyLoop([&] { return host.QuitPending(); });
    quitter.join();
    EXPECT_TRUE(host.QuitPending());
    EXPECT_EQ(host.Run(), 4) << "the quit is still there for the loop that ends the program";
}

TEST_F(MessagePump, WhatTheHostChangedIsDrawnAtTheNextPumpWhateverTheInterval) {
    ui::Control& frame = form.Add("fraStatus", ControlType::Frame);
    frame.Move(240, 240, 3000, 1500);
    start.SetEnabled(false);
    form.Show();
    Settle();
    host.SetPumpInterval(60000);
    HWND pane = reinterpret_cast<HWND>(frame.hostHandle);

    // Something the host did not do waits for the interval.
    host.DrainMessages();
    InvalidateRect(pane, nullptr, TRUE);
    host.PumpMessages();
    EXPECT_TRUE(GetUpdateRect(pane, nullptr, FALSE)) << "the pump looked at the queue before its time";
    host.DrainMessages();
    ASSERT_FALSE(GetUpdateRect(pane, nullptr, FALSE));

    // A change of the model is drawn at the very next pump.
    frame.SetCaption("Scanning");
    ASSERT_TRUE(GetUpdateRect(pane, nullptr, FALSE));
    host.PumpMessages();
    EXPECT_FALSE(GetUpdateRect(pane, nullptr, FALSE));
    form.Unload();
}

} // namespace
} // namespace grimsweep::win32
