// Window loading: creation order, control identifiers, z-order, load events, second loads,
// reloads from the template, closing, the quit message and modal windows.
#include <algorithm>

#include "framework/window.h"
#include "runtime/runtime_app.h"
#include "tests/window/engine_fixture.h"
#include "window/unit_type.h"
#include "window/window_collection.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"
#include "wiring/runtime_lifecycle.h"

namespace {

uint32_t __stdcall LogWindowCreated() {
    EventLog().push_back("window:0");
    return 0;
}
uint32_t __stdcall LogWindowMoved() {
    EventLog().push_back("window:3");
    return 0;
}
uint32_t __stdcall LogWindowResized() {
    EventLog().push_back("window:4");
    return 0;
}
uint32_t __stdcall LogWindowFocus() {
    EventLog().push_back("window:-7");
    return 0;
}
uint32_t __stdcall LogButtonFocus() {
    EventLog().push_back("button:-7");
    return 0;
}
uint32_t __stdcall LogWindowClose() {
    EventLog().push_back("window:1");
    return 1;
}
uint32_t __stdcall RefuseCloseQuery() {
    EventLog().push_back("window:12");
    return 0;
}

std::vector<std::pair<int32_t, const void *>> LoadEventBindings() {
    return {{0, reinterpret_cast<const void *>(&LogWindowCreated)},
            {3, reinterpret_cast<const void *>(&LogWindowMoved)},
            {4, reinterpret_cast<const void *>(&LogWindowResized)},
            {-7, reinterpret_cast<const void *>(&LogWindowFocus)}};
}

class LoadingTest : public EngineTest {
protected:
    void AddThreeButtonWindow(uint32_t windowId = kMainWindowId) {
        AddWindow(windowId,
                  {WindowSpec(LoadEventBindings()), ButtonSpec(kButton1Id, "按钮1", 10),
                   ButtonSpec(kButton2Id, "按钮2", 100), ButtonSpec(kButton3Id, "按钮3", 190)});
    }
};

TEST_F(LoadingTest, UnitsAreCreatedInReverseListOrderWithIdentifiersFrom100) {
    AddThreeButtonWindow();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kMainWindowId, kButton3Id)), 100);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kMainWindowId, kButton2Id)), 110);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kMainWindowId, kButton1Id)), 120);
    EXPECT_EQ(GetParent(UnitHandle(kMainWindowId, kButton1Id)), WindowHandle(kMainWindowId));
}

TEST_F(LoadingTest, ZOrderFollowsListOrderTopFirst) {
    AddThreeButtonWindow();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    HWND top = GetWindow(WindowHandle(kMainWindowId), GW_CHILD);
    EXPECT_EQ(top, UnitHandle(kMainWindowId, kButton1Id));
    EXPECT_EQ(GetWindow(top, GW_HWNDNEXT), UnitHandle(kMainWindowId, kButton2Id));
    EXPECT_EQ(GetWindow(GetWindow(top, GW_HWNDNEXT), GW_HWNDNEXT),
              UnitHandle(kMainWindowId, kButton3Id));
}

TEST_F(LoadingTest, LoadEventsComeInOrderAndNoneDuringCreation) {
    // Without a tab stop among its units the window keeps the focus when it is first shown.
    UnitSpec button = ButtonSpec(kButton1Id, "按钮1", 10);
    button.flags = 1;
    AddWindow(kMainWindowId, {WindowSpec(LoadEventBindings()), button});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    // The window's own moves and resizes while it is created raise nothing.
    ASSERT_GE(EventLog().size(), 3u);
    EXPECT_EQ(EventLog()[0], "window:0");
    EXPECT_EQ(EventLog()[1], "window:3");
    EXPECT_EQ(EventLog()[2], "window:4");
    EXPECT_TRUE(IsWindowVisible(WindowHandle(kMainWindowId)));
    EXPECT_EQ(std::count(EventLog().begin() + 3, EventLog().end(), "window:-7"), 1);
    EXPECT_EQ(Runtime().eventSuppressionCount, 0);
}

TEST_F(LoadingTest, TheUnitGivenTheFirstFocusRaisesFocusGainedOnce) {
    AddWindow(kMainWindowId, {WindowSpec(LoadEventBindings()),
                              ButtonSpec(kButton1Id, "按钮1", 10,
                                         {{-7, reinterpret_cast<const void *>(&LogButtonFocus)}})});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(GetFocus(), UnitHandle(kMainWindowId, kButton1Id));
    EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "button:-7"), 1);
    EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "window:-7"), 0);
}

TEST_F(LoadingTest, HiddenUnitIsCreatedThenHidden) {
    UnitSpec hidden = ButtonSpec(kButton1Id, "按钮1", 10);
    hidden.flags = 4;
    AddWindow(kMainWindowId, {WindowSpec(), hidden});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    ASSERT_NE(UnitHandle(kMainWindowId, kButton1Id), nullptr);
    EXPECT_FALSE(IsWindowVisible(UnitHandle(kMainWindowId, kButton1Id)));
}

TEST_F(LoadingTest, SecondLoadActivatesTheLoadedWindow) {
    AddThreeButtonWindow();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    HWND first = WindowHandle(kMainWindowId);
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    EventLog().clear();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(WindowHandle(kMainWindowId), first);
    EXPECT_EQ(UnitHandle(kMainWindowId, kButton1Id), button);
    EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "window:0"), 0);
}

TEST_F(LoadingTest, ReloadAfterCloseStartsFromTheUnchangedTemplate) {
    AddThreeButtonWindow();
    const std::span<const uint8_t> data = Window(kMainWindowId)->UnitListData();
    const std::vector<uint8_t> before(data.begin(), data.end());
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    DestroyWindow(WindowHandle(kMainWindowId));
    const std::span<const uint8_t> after = Window(kMainWindowId)->UnitListData();
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.end()), before);
    EXPECT_FALSE(Window(kMainWindowId)->HasPristineCopy());
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_NE(UnitHandle(kMainWindowId, kButton2Id), nullptr);
}

TEST_F(LoadingTest, RefusedCloseQueryKeepsTheWindowAndSkipsEvent1) {
    AddWindow(kMainWindowId, {WindowSpec({{12, reinterpret_cast<const void *>(&RefuseCloseQuery)},
                                          {1, reinterpret_cast<const void *>(&LogWindowClose)}})});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EventLog().clear();
    SendMessageA(WindowHandle(kMainWindowId), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(WindowHandle(kMainWindowId)));
    EXPECT_EQ(EventLog(), std::vector<std::string>{"window:12"});
}

TEST_F(LoadingTest, ClosingTheLastWindowAfterTheLoopPostsQuitWithCode0) {
    AddThreeButtonWindow();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    Runtime().loopReached = true;
    SendMessageA(WindowHandle(kMainWindowId), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowLoaded(*Window(kMainWindowId)));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(LoadingTest, ClosingTheLastWindowBeforeTheLoopPostsNothing) {
    AddThreeButtonWindow();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    SendMessageA(WindowHandle(kMainWindowId), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowLoaded(*Window(kMainWindowId)));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(LoadingTest, ClosingOneOfTwoWindowsAfterTheLoopPostsNothing) {
    AddThreeButtonWindow(kMainWindowId);
    AddWindow(kSecondWindowId, {WindowSpec()});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    ASSERT_TRUE(LoadWindow(Window(kSecondWindowId), false, false, nullptr));
    Runtime().loopReached = true;
    SendMessageA(WindowHandle(kSecondWindowId), WM_CLOSE, 0, 0);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The modal window closes itself from its created event; its close query looks at the main
// window meanwhile.
bool g_mainEnabledWhileModal = true;
uint32_t __stdcall CloseModalWhenCreated() {
    WindowTemplate *modal = FindWindowTemplate(kSecondWindowId);
    PostMessageA(LiveWindowOf(*modal)->m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}
uint32_t __stdcall RecordMainEnabled() {
    WindowTemplate *main = FindWindowTemplate(kMainWindowId);
    g_mainEnabledWhileModal = IsWindowEnabled(LiveWindowOf(*main)->m_hWnd) != FALSE;
    EventLog().push_back("modal:12");
    return 1;
}

TEST_F(LoadingTest, ModalWindowDisablesAndReenablesTheOthers) {
    AddThreeButtonWindow(kMainWindowId);
    AddWindow(kSecondWindowId,
              {WindowSpec({{0, reinterpret_cast<const void *>(&CloseModalWhenCreated)},
                           {12, reinterpret_cast<const void *>(&RecordMainEnabled)}})});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    g_mainEnabledWhileModal = true;
    EXPECT_EQ(LoadAndShowWindow(kSecondWindowId, nullptr, true), 0);
    EXPECT_FALSE(g_mainEnabledWhileModal);
    EXPECT_NE(std::find(EventLog().begin(), EventLog().end(), "modal:12"), EventLog().end());
    EXPECT_FALSE(IsWindowLoaded(*Window(kSecondWindowId)));
    EXPECT_TRUE(IsWindowEnabled(WindowHandle(kMainWindowId)));
    EXPECT_EQ(EngineState().modalWindowId, 0u);
}

TEST_F(LoadingTest, UnknownStartWindowIsReported) {
    AddThreeButtonWindow();
    EXPECT_THROW(
        {
            try {
                LoadStartWindow(0x52019999);
            } catch (const ReportedError &error) {
                EXPECT_STREQ(error.what(), "载入启动窗口失败");
                throw;
            }
        },
        ReportedError);
}

TEST_F(LoadingTest, UnknownUnitTypeFailsTheLoadAndLeavesEventsOn) {
    UnitSpec unknown = ButtonSpec(kButton1Id, "按钮1", 10);
    // A type of the kernel library's table that no unit serves.
    unknown.type = 0x00010006;
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(unknown.type);
    ASSERT_TRUE(descriptor == nullptr || descriptor->unitInterface == nullptr);
    AddWindow(kMainWindowId, {WindowSpec(), unknown});
    EXPECT_FALSE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(Runtime().eventSuppressionCount, 0);
    EXPECT_FALSE(Window(kMainWindowId)->HasPristineCopy());
    // The window created before the failure stays; once it is destroyed, no slot names it.
    HWND leftover = WindowHandle(kMainWindowId);
    ASSERT_NE(leftover, nullptr);
    DestroyWindow(leftover);
    EXPECT_EQ(Window(kMainWindowId)->RecordAt(0).LiveUnit(), 0u);
    EXPECT_EQ(LiveWindowOf(*Window(kMainWindowId)), nullptr);
}

} // namespace
