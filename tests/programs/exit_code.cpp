// Test program: ends through ExitProgram with code 42. With ZV_EXIT_IN_EXIT_ROUTINE set, a second
// exit routine ends the program again from inside the shutdown, with code 5.
#include <windows.h>

#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr int32_t kExitCode = 42;
constexpr int32_t kExitCodeInsideExitRoutine = 5;

void EndInsideExitRoutine() {
    ProgramCall::ExitProgram(kExitCodeInsideExitRoutine);
}

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    if (GetEnvironmentVariableA("ZV_EXIT_IN_EXIT_ROUTINE", nullptr, 0) > 0) {
        ProgramCall::RegisterExitRoutine(&EndInsideExitRoutine);
    }
    ProgramCall::ExitProgram(kExitCode);
}
