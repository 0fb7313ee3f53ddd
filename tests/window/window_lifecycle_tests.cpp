// The window's idle event with the elapsed time, the log-off query, a close or log-off during a
// click's wait (also inside the nested loops of the window menu, menu mode and the move loop),
// the window events deferred by a wait, background music through
// the players (a recording stand-in, and once the platform's with a real wave), the bar layout,
// the notification-area icon going with the window, the first show once (also when the created
// handler shows the window), and start positions written to a shown window.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/window.h"
#include "runtime/error_report.h"
#include "runtime/growable_buffer.h"
#include "runtime/heap.h"
#include "runtime/program_calls.h"
#include "runtime/wiring_routines.h"
#include "tests/window/engine_fixture.h"
#include "window/property_access.h"
#include "window/sound_output.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_engine.h"

namespace {

constexpr int32_t kVisibleProperty = 5;
constexpr int32_t kMusicProperty = 13;
constexpr int32_t kMusicPlayModeProperty = 14;
constexpr int32_t kStartPositionProperty = 18;
constexpr uint32_t kPlayerId = 0x16010020;
constexpr uint32_t kTopBarId = 0x16010021;
constexpr uint32_t kBottomBarId = 0x16010022;

// A wave file of samples 8-bit mono samples of silence at 8000 Hz.
std::vector<uint8_t> Wave(uint32_t samples) {
    std::vector<uint8_t> wave(44 + samples, 0x80);
    const auto word = [&](size_t at, uint32_t value) { std::memcpy(&wave[at], &value, 4); };
    const auto half = [&](size_t at, uint16_t value) { std::memcpy(&wave[at], &value, 2); };
    std::memcpy(&wave[0], "RIFF", 4);
    word(4, 36 + samples);
    std::memcpy(&wave[8], "WAVEfmt ", 8);
    word(16, 16);
    half(20, 1);
    half(22, 1);
    word(24, 8000);
    word(28, 8000);
    half(32, 1);
    half(34, 8);
    std::memcpy(&wave[36], "data", 4);
    word(40, samples);
    return wave;
}
const std::vector<uint8_t> kMidi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};

std::vector<uint8_t> WindowBlockWithMusic(const std::vector<uint8_t> &music, uint32_t mode) {
    WindowProperties properties;
    properties.title = "测试窗口";
    properties.startPosition = 0;
    properties.backgroundMusic = music;
    properties.musicPlayMode = mode;
    HGLOBAL saved = SaveWindowProperties(properties);
    const auto *bytes = static_cast<const uint8_t *>(GlobalLock(saved));
    std::vector<uint8_t> block(bytes, bytes + GlobalSize(saved));
    GlobalUnlock(saved);
    GlobalFree(saved);
    return block;
}

// A ByteSet block of bytes: word 1, word n, the bytes.
std::vector<uint8_t> ByteSetOf(const std::vector<uint8_t> &bytes) {
    std::vector<uint8_t> byteSet(8 + bytes.size());
    const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(byteSet.data(), header, 8);
    std::memcpy(byteSet.data() + 8, bytes.data(), bytes.size());
    return byteSet;
}

// Records what the window asked of the players.
class RecordedSound : public SoundOutput {
public:
    void PlayWave(std::span<const uint8_t> wave, bool repeat) override {
        EventLog().push_back(Describe("wave", wave, repeat));
    }
    void StopWave() override { EventLog().push_back("wave:stop"); }
    void PlayMidi(HWND, std::span<const uint8_t> midi, bool repeat) override {
        EventLog().push_back(Describe("midi", midi, repeat));
    }
    void StopMidi(HWND) override { EventLog().push_back("midi:stop"); }
    void MidiNotified(HWND, WPARAM, LPARAM) override { EventLog().push_back("midi:notified"); }

private:
    static std::string Describe(const char *player, std::span<const uint8_t> music, bool repeat) {
        return std::string(player) + (repeat ? ":repeat:" : ":once:") +
               std::to_string(music.size());
    }
};

// A test library: a unit type that holds a player, and bar units docked to the top and to the
// bottom edge.
constexpr uint32_t kPlayerUnitType = 0x00020001;
constexpr uint32_t kTopBarUnitType = 0x00020002;
constexpr uint32_t kBottomBarUnitType = 0x00020003;

class TestPlayer : public CUnitWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kStopPlayerMessage)
            EventLog().push_back("player:stop");
        if (message == WM_CLOSE)
            EventLog().push_back("player:close");
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }
};

template <DWORD kStyle> CWnd *CreateTestUnit(const UnitCreateArguments &a) {
    auto *unit = new TestPlayer;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    if (!unit->CreateEx(0, L"STATIC", L"", a.style | WS_CHILD | kStyle, a.left, a.top, a.width,
                        a.height, a.parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)))) {
        delete unit;
        return nullptr;
    }
    return unit;
}
template <DWORD kStyle> void *TestUnitInterface(int32_t code) {
    return code == kOperationCreate ? reinterpret_cast<void *>(&CreateTestUnit<kStyle>) : nullptr;
}
const UnitTypeDescriptor kTestTypes[] = {
    {"播放器",
     "Player",
     "",
     {0, 0},
     kTypeRaisesEventsToo | kTypeHoldsPlayer,
     {0, 0, 0},
     0,
     nullptr,
     &TestUnitInterface<0>,
     {0, 0}},
    {"顶栏",
     "TopBar",
     "",
     {0, 0},
     kTypeRaisesEventsToo | kTypeBarUnit,
     {0, 0, 0},
     0,
     nullptr,
     &TestUnitInterface<CCS_TOP>,
     {0, 0}},
    {"底栏",
     "BottomBar",
     "",
     {0, 0},
     kTypeRaisesEventsToo | kTypeBarUnit,
     {0, 0, 0},
     0,
     nullptr,
     &TestUnitInterface<CCS_BOTTOM>,
     {0, 0}},
};

UnitSpec TestUnitSpec(uint32_t unitId, uint32_t type, int32_t left, int32_t top, int32_t width,
                      int32_t height) {
    UnitSpec unit;
    unit.unitId = unitId;
    unit.type = type;
    unit.left = left;
    unit.top = top;
    unit.width = width;
    unit.height = height;
    return unit;
}

// A child whose destruction asks the notification area whether its parent's icon is still
// there: the window's own destruction has run by then.
bool g_iconStillShown = false;
LRESULT CALLBACK IconProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = sizeof(icon);
        icon.hWnd = GetParent(window);
        icon.uID = kNotificationIconId;
        icon.uFlags = NIF_TIP;
        g_iconStillShown = Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

uint32_t g_idleElapsed = 0;
uint32_t g_idleCalls = 0;
uint32_t g_idleAnswer = 1;
uint32_t __stdcall OnIdle(uint32_t elapsed) {
    g_idleElapsed = elapsed;
    ++g_idleCalls;
    return g_idleAnswer;
}
uint32_t __stdcall RefuseToEnd() {
    EventLog().push_back("window:1");
    return 0;
}
uint32_t __stdcall AllowToEnd() {
    EventLog().push_back("window:1");
    return 1;
}
uint32_t __stdcall LogCreated() {
    EventLog().push_back("window:0");
    return 0;
}

uint32_t __stdcall LogButtonFocus() {
    EventLog().push_back("button:-7");
    return 0;
}
uint32_t __stdcall ShowTheWindow() {
    WriteUnitProperty(kMainWindowId, 0, 5, -1, 1, 0);
    return 0;
}

// A click whose handler waits, running gDuringClick inside the wait.
std::function<void()> gDuringClick;
uint32_t gClickOutcome = 0;
uint32_t __stdcall ClickThatWaits() {
    EventLog().push_back("click:start");
    gClickOutcome = WaitRunning(gDuringClick);
    EventLog().push_back("click:end");
    return 0;
}
uint32_t __stdcall AllowClose() {
    EventLog().push_back("window:12");
    return 1;
}
void RecordShutdown(int32_t exitCode) {
    EventLog().push_back("shutdown:" + std::to_string(exitCode));
}

// Polls the GUI state of thread until flag is set (or clear), at most polls times 20 ms.
bool GuiFlagBecomes(DWORD thread, DWORD flag, bool set, int polls = 250) {
    for (int poll = 0; poll < polls; ++poll) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread, &info) && ((info.flags & flag) != 0) == set)
            return true;
        Sleep(20);
    }
    return false;
}

// Counts the WM_CLOSE handlings of the window unit under test: sent ones as the window
// procedure is called, posted ones as a loop takes them from the queue.
int gCloseHandlings = 0;
LRESULT CALLBACK CountSentClose(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT *>(lParam)->message == WM_CLOSE)
        ++gCloseHandlings;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK CountPostedClose(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        reinterpret_cast<const MSG *>(lParam)->message == WM_CLOSE)
        ++gCloseHandlings;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Another thread's part while a nested loop runs in the wait: once the loop is open, a close
// and a log-off query are sent, then Escape is pressed, which must end the loop.
struct NestedLoopDrive {
    DWORD thread;
    HWND window;
    DWORD loopFlag;
    DWORD_PTR queryAnswer = 0;
    std::string fault;
};
DWORD WINAPI DriveNestedLoop(void *parameter) {
    auto *drive = static_cast<NestedLoopDrive *>(parameter);
    if (!GuiFlagBecomes(drive->thread, drive->loopFlag, true)) {
        drive->fault = "the loop never opened";
        return 0;
    }
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(drive->window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer);
    SendMessageTimeoutA(drive->window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000,
                        &drive->queryAnswer);
    // A menu opened from the menu bar closes one level per Escape, as for a user.
    bool ended = false;
    for (int presses = 0; presses < 3 && !ended; ++presses) {
        PostMessageA(drive->window, WM_KEYDOWN, VK_ESCAPE, 0x10001);
        PostMessageA(drive->window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        ended = GuiFlagBecomes(drive->thread, drive->loopFlag, false, 50);
    }
    if (!ended) {
        drive->fault = "Escape did not end the loop";
        SendMessageTimeoutA(drive->window, WM_CANCELMODE, 0, 0, SMTO_NORMAL, 5000, &answer);
    }
    return 0;
}

// Another thread's part while the runtime's error box is up in the wait: the window behind it
// is disabled; a close is sent (as a task manager's "End task" first does), then Enter is
// pressed, which must end the box.
struct ErrorBoxDrive {
    DWORD thread;
    HWND window;
    bool windowEnabled = true;
    std::string fault = {};
};
BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window))
        *reinterpret_cast<HWND *>(found) = window;
    return TRUE;
}
DWORD WINAPI DriveErrorBox(void *parameter) {
    auto *drive = static_cast<ErrorBoxDrive *>(parameter);
    HWND box = nullptr;
    for (int polls = 0; polls < 250 && box == nullptr; ++polls, Sleep(20))
        EnumThreadWindows(drive->thread, &FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
        drive->fault = "the box never came up";
        return 0;
    }
    drive->windowEnabled = IsWindowEnabled(drive->window) != FALSE;
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(drive->window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &answer);
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0x1C0001);
    PostMessageA(box, WM_KEYUP, VK_RETURN, 0xC01C0001);
    for (int polls = 0; polls < 250 && IsWindow(box); ++polls)
        Sleep(20);
    if (IsWindow(box)) {
        drive->fault = "Enter did not end the box";
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    return 0;
}

// The log without the focus events, which a box moves as the platform decides.
std::vector<std::string> WithoutFocusEvents(std::vector<std::string> log) {
    std::erase_if(log, [](const std::string &entry) { return entry.starts_with("button"); });
    return log;
}

class WindowLifecycleTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        library_.dataTypeCount = 3;
        library_.dataTypes = kTestTypes;
        Runtime().libraries.AppendWord(reinterpret_cast<uint32_t>(&library_));
        ReplaceSoundOutput(&sound_);
    }
    void TearDown() override {
        EngineTest::TearDown();
        ReplaceSoundOutput(nullptr);
    }
    HWND LoadWithMusic(const std::vector<uint8_t> &music, uint32_t mode,
                       std::vector<UnitSpec> units = {}) {
        units.insert(units.begin(), WindowSpec({}, WindowBlockWithMusic(music, mode)));
        AddWindow(kMainWindowId, units);
        EXPECT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        return WindowHandle(kMainWindowId);
    }
    void WriteMusic(const std::vector<uint8_t> &music) {
        const std::vector<uint8_t> byteSet = ByteSetOf(music);
        WriteUnitProperty(kMainWindowId, 0, kMusicProperty, -1,
                          reinterpret_cast<uint32_t>(byteSet.data()), 0);
    }

    LibraryRecord library_ = {};
    RecordedSound sound_;

    // The window with a button whose click waits, and a second button to move the focus to.
    HWND LoadClickWindow(std::vector<std::pair<int32_t, const void *>> bindings) {
        bindings.push_back({12, Handler(&AllowClose)});
        bindings.push_back({1, Handler(&AllowToEnd)});
        bindings.push_back({2, LoggingHandler<"window:2">()});
        AddWindow(kMainWindowId, {WindowSpec(bindings),
                                  ButtonSpec(kButton1Id, "按钮1", 10,
                                             {{0, Handler(&ClickThatWaits)},
                                              {-7, LoggingHandler<"button1:-7">()},
                                              {-8, LoggingHandler<"button1:-8">()}}),
                                  ButtonSpec(kButton2Id, "按钮2", 100,
                                             {{-7, LoggingHandler<"button2:-7">()},
                                              {-8, LoggingHandler<"button2:-8">()}})});
        EXPECT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        SetFocus(UnitHandle(kMainWindowId, kButton1Id));
        Pump();
        EventLog().clear();
        return WindowHandle(kMainWindowId);
    }
    void Click() {
        SendMessageA(UnitHandle(kMainWindowId, kButton1Id), BM_CLICK, 0, 0);
        Pump();
    }

    HWND Load(std::vector<std::pair<int32_t, const void *>> bindings, uint32_t flags = 1) {
        UnitSpec window = WindowSpec(std::move(bindings));
        window.flags = flags;
        AddWindow(kMainWindowId, {window});
        EXPECT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        return WindowHandle(kMainWindowId);
    }
};

TEST_F(WindowLifecycleTest, IdleEventReachesTheHandlerWithTheElapsedTimeUntilItDeclines) {
    g_idleCalls = 0;
    g_idleAnswer = 1;
    Load({{7, reinterpret_cast<const void *>(&OnIdle)}});
    GrowableBuffer declined;
    EXPECT_TRUE(RaiseWindowIdleEvents(250, declined));
    EXPECT_EQ(g_idleElapsed, 250u);
    EXPECT_EQ(declined.WordCount(), 0u);

    g_idleAnswer = 0;
    EXPECT_FALSE(RaiseWindowIdleEvents(300, declined));
    EXPECT_EQ(g_idleElapsed, 300u);
    EXPECT_EQ(declined.WordCount(), 1u);
    // A window that declined is not asked again in the same idle period.
    EXPECT_FALSE(RaiseWindowIdleEvents(400, declined));
    EXPECT_EQ(g_idleCalls, 2u);
}

TEST_F(WindowLifecycleTest, LogOffIsRefusedWhenEvent1AnswersFalse) {
    HWND window = Load({{1, reinterpret_cast<const void *>(&RefuseToEnd)}});
    EventLog().clear();
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"window:1"});
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowLifecycleTest, LogOffIsAllowedWhenEvent1AnswersTrue) {
    HWND window = Load({{1, reinterpret_cast<const void *>(&AllowToEnd)}});
    EXPECT_NE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
}

// The close and the log-off query arrive while a loop of the platform runs inside the wait. The
// close is a mark, never a message posted again that the nested loop would dispatch forever:
// Escape still ends the loop, the wait ends, and the close runs once, after the handler.
TEST_F(WindowLifecycleTest, ACloseInsideANestedLoopOfAWaitRunsOnceAfterTheHandler) {
    struct NestedLoop {
        const char *name;
        WPARAM command;
        LPARAM key;
        DWORD flag;
    };
    for (const NestedLoop &loop : {NestedLoop{"window menu", SC_KEYMENU, ' ', GUI_INMENUMODE},
                                   NestedLoop{"menu mode", SC_KEYMENU, 0, GUI_INMENUMODE},
                                   NestedLoop{"move loop", SC_MOVE, 0, GUI_INMOVESIZE}}) {
        HWND window = LoadClickWindow({});
        NestedLoopDrive drive{GetCurrentThreadId(), window, loop.flag, 0, ""};
        gCloseHandlings = 0;
        HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, &CountSentClose, nullptr, drive.thread);
        HHOOK posted = SetWindowsHookExA(WH_GETMESSAGE, &CountPostedClose, nullptr, drive.thread);
        HANDLE driver = CreateThread(nullptr, 0, &DriveNestedLoop, &drive, 0, nullptr);
        gDuringClick = [&] { SendMessageA(window, WM_SYSCOMMAND, loop.command, loop.key); };
        Click();
        WaitForSingleObject(driver, INFINITE);
        CloseHandle(driver);
        Pump();
        UnhookWindowsHookEx(sent);
        UnhookWindowsHookEx(posted);
        EXPECT_EQ(gCloseHandlings, 1) << loop.name;
        EXPECT_EQ(drive.fault, "") << loop.name;
        EXPECT_EQ(gClickOutcome, kWaitInterrupted) << loop.name;
        EXPECT_NE(drive.queryAnswer, static_cast<DWORD_PTR>(FALSE)) << loop.name;
        EXPECT_EQ(EventLog(), (std::vector<std::string>{"click:start", "click:end", "window:12",
                                                        "window:1", "button1:-8", "window:2"}))
            << loop.name;
        EXPECT_FALSE(IsWindow(window)) << loop.name;
    }
}

// The runtime's error box, modal to the task, disables the window behind it, so no click reaches
// its close box; a close sent meanwhile is marked, Enter still ends the box, and the close runs
// once after the handler.
TEST_F(WindowLifecycleTest, ACloseWhileTheErrorBoxIsUpInAWaitRunsOnceAfterTheHandler) {
    HWND window = LoadClickWindow({});
    ErrorBoxDrive drive{GetCurrentThreadId(), window};
    HANDLE driver = CreateThread(nullptr, 0, &DriveErrorBox, &drive, 0, nullptr);
    gDuringClick = [] { MessageBoxW(nullptr, L"运行时出错!", L"错误", kRuntimeErrorBoxStyle); };
    Click();
    WaitForSingleObject(driver, INFINITE);
    CloseHandle(driver);
    Pump();
    EXPECT_EQ(drive.fault, "");
    EXPECT_FALSE(drive.windowEnabled);
    EXPECT_EQ(gClickOutcome, kWaitInterrupted);
    EXPECT_EQ(WithoutFocusEvents(EventLog()),
              (std::vector<std::string>{"click:start", "click:end", "window:12", "window:1",
                                        "window:2"}));
    EXPECT_FALSE(IsWindow(window));
}

// A log-off query during a click is answered and recorded; when the log-off is called off
// (WM_ENDSESSION FALSE) the program goes on and its next click waits as usual; when the session
// ends, the close and the shutdown with its exit routines have run before WM_ENDSESSION returns.
TEST_F(WindowLifecycleTest, ALogOffDuringAClickEndsTheProgramOnlyWhenTheSessionEnds) {
    const WiringRoutines wiring = Wiring();
    HandDownWiringRoutines({&RecordShutdown, wiring.runMessageLoop, wiring.raiseIdleEvents});
    HWND window = LoadClickWindow({});
    LRESULT queryAnswer = FALSE;
    gDuringClick = [&] { queryAnswer = SendMessageA(window, WM_QUERYENDSESSION, 0, 0); };
    Click();
    EXPECT_EQ(gClickOutcome, kWaitInterrupted);
    EXPECT_NE(queryAnswer, FALSE);
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);
    Pump();
    gDuringClick = [] {};
    Click();
    EXPECT_EQ(gClickOutcome, kWaitAnswered);
    // The record is forgotten: a session end that follows no query of a wait changes nothing.
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(EventLog(),
              (std::vector<std::string>{"click:start", "click:end", "click:start", "click:end"}));

    EventLog().clear();
    gDuringClick = [&] { SendMessageA(window, WM_QUERYENDSESSION, 0, 0); };
    Click();
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    HandDownWiringRoutines(wiring);
    EXPECT_EQ(EventLog(),
              (std::vector<std::string>{"click:start", "click:end", "window:12", "window:1",
                                        "button1:-8", "window:2", "shutdown:0"}));
    EXPECT_FALSE(IsWindow(window));
}

// Moves, resizes and focus changes during a click reach their handlers after it, in order, a
// move and a resize once each with the last of several; a focus loss comes with its gain.
TEST_F(WindowLifecycleTest, WindowEventsDuringAWaitAreRaisedAfterTheHandler) {
    HWND window =
        LoadClickWindow({{3, LoggingHandler<"window:3">()}, {4, LoggingHandler<"window:4">()}});
    gDuringClick = [&] {
        constexpr UINT kMove = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        constexpr UINT kResize = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        SetWindowPos(window, nullptr, 50, 60, 0, 0, kMove);
        SetWindowPos(window, nullptr, 0, 0, 300, 180, kResize);
        SetWindowPos(window, nullptr, 70, 80, 0, 0, kMove);
        SetWindowPos(window, nullptr, 0, 0, 310, 190, kResize);
        SetFocus(UnitHandle(kMainWindowId, kButton2Id));
    };
    Click();
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"click:start", "click:end", "window:3",
                                                    "window:4", "button1:-8", "button2:-7"}));
}

TEST_F(WindowLifecycleTest, BackgroundMusicGoesToThePlayerOfItsKindInItsPlayMode) {
    const std::vector<uint8_t> wave = Wave(4);
    const std::vector<uint8_t> shortWave(wave.begin(), wave.begin() + 11);
    const std::vector<uint8_t> shortMidi(kMidi.begin(), kMidi.begin() + 4);
    const struct {
        std::vector<uint8_t> music;
        uint32_t mode;
        std::vector<std::string> asked;
    } cases[] = {
        {wave, 0, {"wave:repeat:48", "wave:stop"}},
        {wave, 1, {"wave:once:48", "wave:stop"}},
        {wave, 2, {}},
        {kMidi, 0, {"midi:repeat:14", "midi:stop"}},
        {kMidi, 1, {"midi:once:14", "midi:stop"}},
        {shortWave, 0, {}},
        {shortMidi, 0, {}},
        {{'M', 'Z', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {}},
    };
    for (const auto &c : cases) {
        EventLog().clear();
        HWND window = LoadWithMusic(c.music, c.mode);
        DestroyWindow(window);
        EXPECT_EQ(EventLog(), c.asked) << c.music.size() << " bytes, mode " << c.mode;
        collection_->ReleaseAll();
    }
}

TEST_F(WindowLifecycleTest, WritingMusicOrItsPlayModeStopsWhatPlaysThenStartsAgain) {
    LoadWithMusic(Wave(4), 0);
    EventLog().clear();
    WriteUnitProperty(kMainWindowId, 0, kMusicPlayModeProperty, -1, 1, 0);
    WriteMusic(kMidi);
    WriteUnitProperty(kMainWindowId, 0, kMusicPlayModeProperty, -1, 7, 0); // clamped to 2
    WriteMusic(Wave(4));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"wave:stop", "wave:once:48", "wave:stop",
                                                    "midi:once:14", "midi:stop"}));
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, 0, kMusicPlayModeProperty, -1), 2u);
    const std::vector<uint8_t> written = ByteSetOf(Wave(4));
    const auto *read = reinterpret_cast<const uint8_t *>(
        static_cast<uint32_t>(ReadUnitProperty(kMainWindowId, 0, kMusicProperty, -1)));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::memcmp(read, written.data(), written.size()), 0);
    FreeMemory(const_cast<uint8_t *>(read));
}

TEST_F(WindowLifecycleTest, AWindowInsideAnotherPlaysNoMusic) {
    AddWindow(kMainWindowId, {WindowSpec()}); // its events find the window's record
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
    UnitCreateArguments arguments = {};
    const std::vector<uint8_t> block = WindowBlockWithMusic(Wave(4), 0);
    arguments.propertyBlock = block.data();
    arguments.propertyBlockSize = static_cast<uint32_t>(block.size());
    arguments.parent = host;
    arguments.width = 200;
    arguments.height = 100;
    arguments.windowId = kMainWindowId;
    arguments.unitId = kWindowRecordId;
    arguments.childFlag = 1;
    CWnd *child = CWinFormUnit::Create(arguments);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(EventLog(), std::vector<std::string>{});
    DestroyWindow(host);
}

// Destruction stops the units' players with a stop: a close would destroy the unit.
TEST_F(WindowLifecycleTest, DestructionStopsTheUnitsPlayersWithoutClosingThem) {
    HWND window =
        LoadWithMusic(kMidi, 0, {TestUnitSpec(kPlayerId, kPlayerUnitType, 10, 10, 40, 20)});
    EventLog().clear();
    DestroyWindow(window);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"midi:stop", "player:stop"}));
}

TEST_F(WindowLifecycleTest, BarUnitsAreStackedAlongTheEdgesAfterLoadingAndOnEachResize) {
    UnitSpec button = ButtonSpec(kButton1Id, "按钮1", 100);
    HWND window =
        LoadWithMusic({}, 0,
                      {TestUnitSpec(kTopBarId, kTopBarUnitType, 50, 80, 30, 20),
                       TestUnitSpec(kBottomBarId, kBottomBarUnitType, 10, 10, 60, 25), button});
    const auto placed = [&](uint32_t unitId) {
        HWND unit = UnitHandle(kMainWindowId, unitId);
        RECT rect;
        GetWindowRect(unit, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    };
    for (int width : {320, 500}) {
        SetWindowPos(window, nullptr, 0, 0, width, 260, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(window, &client);
        const RECT top = placed(kTopBarId), bottom = placed(kBottomBarId);
        EXPECT_EQ(top.left, 0);
        EXPECT_EQ(top.top, 0);
        EXPECT_EQ(top.right, client.right);
        EXPECT_EQ(top.bottom, 20);
        EXPECT_EQ(bottom.left, 0);
        EXPECT_EQ(bottom.top, client.bottom - 25);
        EXPECT_EQ(bottom.right, client.right);
        EXPECT_EQ(bottom.bottom, client.bottom);
        EXPECT_EQ(placed(kButton1Id).left, 100);
    }
}

TEST_F(WindowLifecycleTest, TheNotificationAreaIconGoesWithTheWindow) {
    HWND window = LoadWithMusic({}, 0);
    auto *unit = dynamic_cast<CWinFormUnit *>(CWnd::FromHandlePermanent(window));
    ASSERT_NE(unit, nullptr);
    ASSERT_TRUE(unit->ShowNotificationIcon(LoadIconA(nullptr, IDI_APPLICATION), "下载器"));
    WNDCLASSA probe = {};
    probe.lpfnWndProc = IconProbeProcedure;
    probe.hInstance = GetModuleHandleA(nullptr);
    probe.lpszClassName = "ZvIconProbe";
    RegisterClassA(&probe); // fails harmlessly once the class exists
    CreateWindowExA(0, "ZvIconProbe", "", WS_CHILD, 0, 0, 1, 1, window, nullptr, nullptr, nullptr);
    g_iconStillShown = true;
    DestroyWindow(window);
    EXPECT_FALSE(g_iconStillShown);
}

// The platform's wave player under Wine, whose winmm accepts a piece without a sound device:
// the runtime keeps its own copy of the bytes while they play (the player, busy with them,
// refuses a piece that must not stop another), and the window's stop leaves the player free for
// the next piece.
TEST_F(WindowLifecycleTest, ARealWavePlaysThroughThePlatformPlayerUntilTheWindowGoes) {
    ReplaceSoundOutput(nullptr);
    HWND window = LoadWithMusic(Wave(8000), 0);
    WriteMusic(Wave(800));
    WriteUnitProperty(kMainWindowId, 0, kMusicPlayModeProperty, -1, 1, 0);
    const std::vector<uint8_t> probe = Wave(80);
    const auto playProbe = [&] {
        return PlaySoundA(reinterpret_cast<LPCSTR>(probe.data()), nullptr,
                          SND_MEMORY | SND_ASYNC | SND_NOSTOP | SND_NODEFAULT);
    };
    EXPECT_FALSE(playProbe());
    DestroyWindow(window);
    EXPECT_TRUE(playProbe());
    PlaySoundA(nullptr, nullptr, 0);
}

TEST_F(WindowLifecycleTest, AHiddenWindowIsShownFirstByWritingItsVisibility) {
    HWND window = Load({{0, reinterpret_cast<const void *>(&LogCreated)}}, 0);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"window:0"});
    EXPECT_FALSE(IsWindowVisible(window));
    WriteUnitProperty(kMainWindowId, 0, kVisibleProperty, -1, 1, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    WriteUnitProperty(kMainWindowId, 0, kVisibleProperty, -1, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, 0, kVisibleProperty, -1), 0u);
    WriteUnitProperty(kMainWindowId, 0, kVisibleProperty, -1, 1, 0);
    EXPECT_TRUE(IsWindowVisible(window));
}

// The first show belongs to a hidden window: showing a window that is shown already, by its
// created handler or by writing its visibility after the load, announces no focus again.
TEST_F(WindowLifecycleTest, AWindowAlreadyShownIsNotShownFirstAgain) {
    for (bool showFromCreated : {false, true}) {
        std::vector<std::pair<int32_t, const void *>> bindings;
        if (showFromCreated)
            bindings.push_back({0, reinterpret_cast<const void *>(&ShowTheWindow)});
        AddWindow(kMainWindowId,
                  {WindowSpec(bindings),
                   ButtonSpec(kButton1Id, "按钮1", 10,
                              {{-7, reinterpret_cast<const void *>(&LogButtonFocus)}})});
        EventLog().clear();
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        ASSERT_EQ(GetFocus(), UnitHandle(kMainWindowId, kButton1Id));
        WriteUnitProperty(kMainWindowId, 0, kVisibleProperty, -1, 1, 0);
        EXPECT_EQ(EventLog(), std::vector<std::string>{"button:-7"}) << showFromCreated;
        DestroyWindow(WindowHandle(kMainWindowId));
        collection_->ReleaseAll();
    }
}

// The first show is the window's first whoever shows it: a created handler that shows the
// window gets its start position applied, and its focus announced once.
TEST_F(WindowLifecycleTest, AWindowItsCreatedHandlerShowsTakesItsStartPositionOnce) {
    const struct {
        uint32_t position;
        BOOL(WINAPI *placed)(HWND);
    } cases[] = {{3, &IsZoomed}, {2, &IsIconic}};
    for (const auto &c : cases) {
        AddWindow(kMainWindowId, {WindowSpec({{0, reinterpret_cast<const void *>(&ShowTheWindow)},
                                              {-7, LoggingHandler<"window:-7">()}},
                                             WindowBlock("测试窗口", 0, 0xFF000000, c.position))});
        EventLog().clear();
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        HWND window = WindowHandle(kMainWindowId);
        EXPECT_TRUE(IsWindowVisible(window)) << c.position;
        EXPECT_TRUE(c.placed(window)) << c.position;
        EXPECT_EQ(EventLog(), std::vector<std::string>{"window:-7"}) << c.position;
        DestroyWindow(window);
        collection_->ReleaseAll();
    }
}

TEST_F(WindowLifecycleTest, StartPositionWrittenToAShownWindowRestoresCentresAndMaximises) {
    HWND window = Load({});
    const auto place = [](uint32_t position) {
        WriteUnitProperty(kMainWindowId, 0, kStartPositionProperty, -1, position, 0);
    };
    place(2);
    EXPECT_TRUE(IsIconic(window));
    place(0);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, 0, kStartPositionProperty, -1), 0u);
    place(3);
    EXPECT_TRUE(IsZoomed(window));
    place(1);
    EXPECT_FALSE(IsZoomed(window));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
}

} // namespace
