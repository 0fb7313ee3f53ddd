// A test whose window procedure faults: an access violation while handling the creation message,
// which Wine delivers through a user-mode callback. Wine catches the fault there, logs "err:seh"
// and carries on, so the test itself passes and the process ends with exit code 0; the harness
// that runs every Windows test must fail such a run.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace {

// The address is read at run time, so the compiler cannot turn the write into a trap.
volatile uintptr_t gFaultAddress = 0;
bool gCreationSeen = false;

LRESULT CALLBACK FaultingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        gCreationSeen = true;
        *reinterpret_cast<volatile int *>(gFaultAddress) = 1;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(SwallowedFault, AFaultInsideAWindowProcedureLeavesTheTestPassing) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FaultingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SehProbe";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    // Whether the creation succeeds after the swallowed fault does not matter here.
    if (HWND window = CreateWindowA("SehProbe", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, nullptr)) {
        DestroyWindow(window);
    }
    EXPECT_TRUE(gCreationSeen);
}

} // namespace
