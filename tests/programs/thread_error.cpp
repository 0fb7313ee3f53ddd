// Test program: a worker thread raises error 1; its box shows on that thread, and the main
// thread, waiting for messages, ends the program with -1 without running the exit routine.
#include <windows.h>

#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr int32_t kIndexAboveCount = 1;

DWORD WINAPI RaiseError(void *) {
    ProgramCall::ReportError(kIndexAboveCount);
}

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    CloseHandle(CreateThread(nullptr, 0, &RaiseError, nullptr, 0, nullptr));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
