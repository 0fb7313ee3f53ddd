// Test program: starts, finds no window to run, and ends normally through ExitInstance.
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    // Registered twice, listed once.
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    ProgramCall::RunMessageLoop();
    return 0;
}
