// Idle processing: callbacks from the last to the first, dead windows dropped, the idle count
// reset by a message, and the pre-translation walk that asks unit windows for their object.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"
#include "runtime/runtime_app.h"
#include "window/window_engine_state.h"
#include "wiring/runtime_lifecycle.h"

namespace {

std::vector<uint32_t> gCalls;

void RecordCall(uint32_t argument) {
    gCalls.push_back(argument);
}

HWND NewWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

uint32_t Routine() {
    return reinterpret_cast<uint32_t>(&RecordCall);
}

class IdleCallbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        for (HWND &window : windows_) {
            window = NewWindow();
        }
    }
    void TearDown() override {
        for (HWND window : windows_) {
            UnregisterIdleCallback(window);
            DestroyWindow(window);
        }
    }

    HWND windows_[3] = {};
};

TEST_F(IdleCallbackTest, CallbacksRunFromTheLastToTheFirst) {
    for (uint32_t i = 0; i < 3; ++i) {
        RegisterIdleCallback(windows_[i], Routine(), 10 + i);
    }
    RunIdleCallbacks();
    EXPECT_EQ(gCalls, (std::vector<uint32_t>{12, 11, 10}));
}

TEST_F(IdleCallbackTest, DeadWindowsAreDroppedFromAllThreeLists) {
    for (uint32_t i = 0; i < 3; ++i) {
        RegisterIdleCallback(windows_[i], Routine(), 10 + i);
    }
    DestroyWindow(windows_[1]);
    RunIdleCallbacks();
    EXPECT_EQ(gCalls, (std::vector<uint32_t>{12, 10}));
    const RuntimeApp &app = Runtime();
    EXPECT_EQ(app.idleWindows.WordCount(), 2u);
    EXPECT_EQ(app.idleRoutines.WordCount(), 2u);
    EXPECT_EQ(app.idleArguments.WordCount(), 2u);
    EXPECT_EQ(app.idleArguments.WordAt(1), 12u);
}

TEST_F(IdleCallbackTest, RegistrationRefusesDuplicatesNullRoutinesAndDeadWindows) {
    RegisterIdleCallback(windows_[0], Routine(), 1);
    RegisterIdleCallback(windows_[0], Routine(), 2);
    RegisterIdleCallback(windows_[1], 0, 3);
    RegisterIdleCallback(nullptr, Routine(), 4);
    DestroyWindow(windows_[2]);
    RegisterIdleCallback(windows_[2], Routine(), 5);
    RunIdleCallbacks();
    EXPECT_EQ(gCalls, (std::vector<uint32_t>{1}));
    UnregisterIdleCallback(windows_[0]);
    gCalls.clear();
    RunIdleCallbacks();
    EXPECT_TRUE(gCalls.empty());
}

HWND gLoopWindow = nullptr;
int gIdleRuns = 0;

// One idle period of the runtime with no windows makes three OnIdle calls (counts 0, 1, 2);
// the callback runs before each of them.
void CountIdleRun(uint32_t) {
    ++gIdleRuns;
    if (gIdleRuns == 3) {
        PostMessageA(gLoopWindow, WM_USER, 0, 0);
    } else if (gIdleRuns == 6) {
        PostQuitMessage(0);
    }
}

// Ends a loop that would otherwise wait for ever, so that a fault fails instead of hanging. It
// is stopped through an event and joined: terminating a thread that may still be starting up
// corrupts the process under Wine.
class LoopWatchdog {
public:
    LoopWatchdog() : thread_(GetCurrentThreadId()) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        watcher_ = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
    }
    ~LoopWatchdog() {
        SetEvent(stop_);
        WaitForSingleObject(watcher_, INFINITE);
        CloseHandle(watcher_);
        CloseHandle(stop_);
    }

private:
    static DWORD WINAPI Watch(void *self) {
        auto *watchdog = static_cast<LoopWatchdog *>(self);
        if (WaitForSingleObject(watchdog->stop_, 5000) == WAIT_TIMEOUT) {
            PostThreadMessageA(watchdog->thread_, WM_QUIT, 0, 0);
        }
        return 0;
    }

    DWORD thread_;
    HANDLE stop_;
    HANDLE watcher_;
};

TEST(MessageLoop, AMessageStartsANewIdlePeriod) {
    gLoopWindow = NewWindow();
    gIdleRuns = 0;
    RegisterIdleCallback(gLoopWindow, reinterpret_cast<uint32_t>(&CountIdleRun), 0);
    {
        LoopWatchdog watchdog;
        RunMessageLoopMode(0);
    }
    EXPECT_EQ(gIdleRuns, 6);
    UnregisterIdleCallback(gLoopWindow);
    DestroyWindow(gLoopWindow);
}

void ClearModalWindow(uint32_t) {
    EngineState().modalWindowId = 0;
}

TEST(MessageLoop, ModalModeEndsWhenTheModalFieldIsCleared) {
    HWND window = NewWindow();
    RegisterIdleCallback(window, reinterpret_cast<uint32_t>(&ClearModalWindow), 0);
    EngineState().modalWindowId = 0x52010002;
    {
        LoopWatchdog watchdog;
        RunMessageLoopMode(1);
    }
    EXPECT_EQ(EngineState().modalWindowId, 0u);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    UnregisterIdleCallback(window);
    DestroyWindow(window);
}

TEST(MessageLoop, ModalModeHandsTheQuitMessageOnToTheOuterLoop) {
    EngineState().modalWindowId = 0x52010002;
    PostQuitMessage(9);
    RunMessageLoopMode(1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 9u);
    EngineState().modalWindowId = 0;
}

// A unit object as a unit window hands it out through message 0x8002.
class UnitObject : public CWnd {
public:
    BOOL PreTranslateMessage(MSG *message) override {
        seen = message->message;
        return TRUE;
    }
    UINT seen = 0;
};

UnitObject gUnit;

LRESULT CALLBACK UnitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x8002) {
        return reinterpret_cast<LRESULT>(&gUnit);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(PreTranslate, UnitWindowsAreAskedForTheirObjectUpThroughTheParents) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &UnitWindowProc;
    windowClass.lpszClassName = "ZvTestUnit";
    RegisterClassA(&windowClass);
    HWND unit = CreateWindowExA(0, "ZvTestUnit", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    HWND child =
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, unit, nullptr, nullptr, nullptr);
    MSG message{child, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(Runtime().PreTranslateMessage(&message));
    EXPECT_EQ(gUnit.seen, static_cast<UINT>(WM_KEYDOWN));

    HWND plain = NewWindow();
    MSG other{plain, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(Runtime().PreTranslateMessage(&other));
    DestroyWindow(plain);
    DestroyWindow(unit);
}

} // namespace
