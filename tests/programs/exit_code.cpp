// Test program: ends through ExitProgram with code 42.
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr int32_t kExitCode = 42;

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    ProgramCall::ExitProgram(kExitCode);
}
