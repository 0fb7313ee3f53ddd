// The visible exit routine of the test programs.
#include "tests/support/exit_routine_box.h"

#include <windows.h>

#include <cstdio>

namespace {

DWORD gMainThread = 0;
int gRuns = 0;

} // namespace

void RememberMainThread() {
    gMainThread = GetCurrentThreadId();
}

void ShowExitRoutineBox() {
    char text[64];
    std::snprintf(text, sizeof text, "run %d on the %s thread", ++gRuns,
                  GetCurrentThreadId() == gMainThread ? "main" : "other");
    MessageBoxA(nullptr, text, "exit routine", MB_OK);
}
