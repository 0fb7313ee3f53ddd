// The window's idle event with the elapsed time, the log-off query, background music kept as
// bytes, show-after-load of a window whose record is hidden, and start positions written to a
// shown window.
#include <cstring>
#include <string>
#include <vector>

#include "framework/window.h"
#include "runtime/growable_buffer.h"
#include "runtime/heap.h"
#include "tests/window/engine_fixture.h"
#include "window/property_access.h"
#include "window/window_engine.h"

namespace {

constexpr int32_t kVisibleProperty = 5;
constexpr int32_t kMusicProperty = 13;
constexpr int32_t kStartPositionProperty = 18;

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

class WindowLifecycleTest : public EngineTest {
protected:
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

TEST_F(WindowLifecycleTest, BackgroundMusicIsStoredAndReturnedAsBytes) {
    Load({});
    const uint8_t wave[] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E', 1, 2};
    std::vector<uint8_t> byteSet(8 + sizeof wave);
    const uint32_t header[2] = {1, sizeof wave};
    std::memcpy(byteSet.data(), header, 8);
    std::memcpy(byteSet.data() + 8, wave, sizeof wave);
    WriteUnitProperty(kMainWindowId, 0, kMusicProperty, -1,
                      reinterpret_cast<uint32_t>(byteSet.data()), 0);
    const auto *read = reinterpret_cast<const uint8_t *>(
        static_cast<uint32_t>(ReadUnitProperty(kMainWindowId, 0, kMusicProperty, -1)));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::memcmp(read, byteSet.data(), byteSet.size()), 0);
    FreeMemory(const_cast<uint8_t *>(read));
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
