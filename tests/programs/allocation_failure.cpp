// Test program: asks the runtime heap for 0x7FFFFFF0 bytes, more than a 32-bit process has.
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"

namespace {

constexpr uint32_t kImpossibleBytes = 0x7FFFFFF0;

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    ProgramCall::AllocateMemory(kImpossibleBytes);
    return 0;
}
