// ProgramEntry: the downloader's start routine. It starts the runtime, registers its clean-up,
// runs its start-up subroutine, loads the main window and runs the message loop.
#include "runtime/program_entry.h"
#include "runtime/program_calls.h"

namespace {

constexpr uint32_t kMainWindowId = 0x52010001;

// The program keeps no global variables that need a value at start.
void InitializeGlobals() {}
// Nothing of the program's own outlives its windows.
void ReleaseProgramResources() {}
// The program's start-up subroutine: everything happens in the main window.
int32_t StartUp() {
    return 0;
}

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    InitializeGlobals();
    ProgramCall::RegisterExitRoutine(&ReleaseProgramResources);
    StartUp();
    ProgramCall::LoadStartWindow(kMainWindowId);
    ProgramCall::RunMessageLoop();
    return 0;
}
