// InitializeRuntime and RuntimeShutdown on the test image: what start-up records and creates,
// and a second shutdown that releases nothing twice.
#include <gtest/gtest.h>

#include <windows.h>

#include "image/kernel_library.h"
#include "program_constants.h"
#include "runtime/heap.h"
#include "runtime/program_calls.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_notify.h"
#include "wiring/runtime_lifecycle.h"

namespace {

int gExitRoutineRuns = 0;
void CountExitRoutineRun() {
    ++gExitRoutineRuns;
}

// The test image's identifier seed.
constexpr uint32_t kSeed = 1000;

TEST(StartUp, InitializeRecordsTheImageAndShutdownReleasesItOnce) {
    ProgramCall::InitializeRuntime();
    RuntimeApp &app = Runtime();

    EXPECT_EQ(app.programKind, 3u);
    EXPECT_EQ(RuntimeNotify(kNotifyProgramKind, 0, 0), 3);
    EXPECT_EQ(app.TakeUniqueId(), kSeed + 2);
    EXPECT_TRUE(app.oleInitialized);
    EXPECT_EQ(app.mainThreadId, GetCurrentThreadId());
    EXPECT_EQ(KernelLibraryRuntimeCallback(), reinterpret_cast<uint32_t>(&RuntimeNotify));
    EXPECT_EQ(app.libraries.WordCount(), 1u);
    EXPECT_EQ(app.libraryValueSlots.WordCount(), 1u);
    EXPECT_EQ(app.libraryValueSlots.WordAt(0), 0u);
    EXPECT_EQ(app.dllModules.WordCount(), 0u) << "an image without DLL commands has no lists";
    EXPECT_TRUE(IsConstantAddress(ConstantText(Constant::Greeting)));

    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(app.programDirectory, current);
    EXPECT_EQ(app.executableName, "runtime_core_tests.exe");

    HWND owner = FindWindowA("_LM_HideOwner", "");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner, app.hiddenOwner.m_hWnd);
    EXPECT_EQ(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(owner));

    ProgramCall::RegisterExitRoutine(&CountExitRoutineRun);
    ProgramCall::RegisterExitRoutine(&CountExitRoutineRun);
    const LONG suppression = app.eventSuppressionCount;
    RuntimeShutdown(0);
    EXPECT_EQ(gExitRoutineRuns, 1);
    EXPECT_TRUE(app.shuttingDown);
    EXPECT_EQ(app.eventSuppressionCount, suppression + 1);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(app.hiddenOwner.m_hWnd, nullptr);
    EXPECT_FALSE(app.oleInitialized);
    EXPECT_EQ(app.libraries.WordCount(), 0u);
    EXPECT_FALSE(IsConstantAddress(ConstantText(Constant::Greeting)));

    RuntimeShutdown(0);
    EXPECT_EQ(gExitRoutineRuns, 1) << "a second shutdown runs no exit routine again";
}

TEST(StartUp, RunMessageLoopReturnsAtOnceWithoutWindows) {
    Runtime().loopReached = false;
    ProgramCall::RunMessageLoop();
    EXPECT_TRUE(Runtime().loopReached);
}

} // namespace
