// The routines of the wiring that the runtime core and the window engine call back into. The
// wiring hands them down when the process starts, so that no folder includes or links the one
// above it.
#pragma once

#include <cstdint>

class GrowableBuffer;

struct WiringRoutines {
    // The orderly shutdown every exit path goes through; safe to run more than once.
    void (*shutdown)(int32_t exitCode);
    // The message loop; mode 1 is a modal window's nested loop.
    void (*runMessageLoop)(int mode);
    // One idle pass of the window engine: the idle events of the loaded windows; true while a
    // window asks for more.
    bool (*raiseIdleEvents)(uint32_t elapsedMilliseconds, GrowableBuffer &doneWindows);
};

// Called by the wiring before any program code runs.
void HandDownWiringRoutines(const WiringRoutines &routines);
// The routines handed down. Before that the core runs alone: shutdown releases nothing (nothing
// was started), no loop runs and no window raises idle events.
const WiringRoutines &Wiring();

// Shutdown, then the process ends with exitCode.
[[noreturn]] void ShutDownAndExit(int32_t exitCode);
