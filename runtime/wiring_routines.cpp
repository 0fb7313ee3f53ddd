// The wiring's routines as the core and the window engine reach them, and what stands in for
// them until the wiring hands them down.
#include "runtime/wiring_routines.h"

#include <windows.h>

namespace {

void NothingToShutDown(int32_t) {}

void NoMessageLoop(int) {}

bool NoIdleEvents(uint32_t, GrowableBuffer &) {
    return false;
}

// Constant-initialized: valid before any static constructor runs.
constinit WiringRoutines handedDown{&NothingToShutDown, &NoMessageLoop, &NoIdleEvents};

} // namespace

void HandDownWiringRoutines(const WiringRoutines &routines) {
    handedDown = routines;
}

const WiringRoutines &Wiring() {
    return handedDown;
}

void ShutDownAndExit(int32_t exitCode) {
    handedDown.shutdown(exitCode);
    ExitProcess(static_cast<UINT>(exitCode));
}
