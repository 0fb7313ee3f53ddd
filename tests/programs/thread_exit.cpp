// Test program: a worker thread asks to end the program with code 7; the main thread, waiting
// for messages, carries the request out.
#include <windows.h>

#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr int32_t kExitCode = 7;

DWORD WINAPI RequestExit(void *) {
    ProgramCall::ExitProgram(kExitCode);
}

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    CloseHandle(CreateThread(nullptr, 0, &RequestExit, nullptr, 0, nullptr));
    // Sent messages are delivered while the main thread waits here.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
