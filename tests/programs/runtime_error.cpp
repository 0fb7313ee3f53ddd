// Test program: program code raises error 4 of the error-message table.
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr int32_t kIndexBelowOne = 4;

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    ProgramCall::ReportError(kIndexBelowOne);
}
