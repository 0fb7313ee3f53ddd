// Blocking program routines: a program routine that may wait for long (a page fetch on a slow
// network) runs on a worker thread while the window thread keeps the program's windows alive in a
// message loop of its own: they paint, move and answer the system, input to them is refused, no
// program event runs, and the pointer shows that the program is busy.
#pragma once

#include <windows.h>

#include <cstdint>

// What the mechanism needs from the rest of the runtime; the start-up hands it over.
struct BlockingRoutineHooks {
    // Hold program events back while a routine runs, and let them through again afterwards.
    void (*holdEvents)();
    void (*releaseEvents)();
    // The last window was closed while a routine ran: ends the program with exitCode as closing
    // it would, the worker stopped where it was. Does not return.
    void (*endProgram)(int32_t exitCode);
};
void SetBlockingRoutineHooks(const BlockingRoutineHooks &hooks);

// Internal command 7: runs routine(argument) (a program routine, the caller removes the argument)
// on a worker thread and returns its result. Only one thread runs program code at a time: the
// calling thread only dispatches messages meanwhile. The worker has an apartment of its own, so a
// routine may use automation objects that it creates itself, not those of the window thread.
// Called on the worker itself, or when no thread can be started, the routine runs in place.
uint32_t RunBlockingRoutine(uint32_t routine, uint32_t argument);

// True while a blocking routine runs; the window engine then shows BusyPointer() over the
// program's windows.
bool BlockingRoutineRunning();
HCURSOR BusyPointer();
// The worker of the running routine, or null; RunBlockingRoutine's own bookkeeping.
void SetBlockingRoutineWorker(HANDLE worker);
