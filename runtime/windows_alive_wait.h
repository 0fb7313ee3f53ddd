// The wait that keeps the windows alive: program code on the window thread waits for another
// thread's answer the way a Windows modal loop does. The program's windows paint, move, answer
// the system and run their timers; program events are held back; keyboard and mouse input to
// the windows' contents is refused; the busy pointer shows; a deadline bounds it all. A close
// asked for meanwhile ends the wait at once and is carried out after the handler has returned.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/program_calls.h"

// Internal command 7: waits until answer (an event object) is signalled, milliseconds have
// passed, or the wait is interrupted, dispatching the window thread's messages meanwhile. A
// quit message that arrives is posted again for the message loop outside. Waits may nest.
// Returns a WaitOutcome.
uint32_t WaitKeepingWindowsAlive(HANDLE answer, uint32_t milliseconds);

// True while a wait runs on the window thread.
bool WindowsAliveWaitRunning();
// Ends the running wait (and any wait around it) at once; the window engine calls it when a
// close is asked for during a wait, after it has posted the close again for later.
void InterruptWindowsAliveWait();

// Whether the wait refuses the message: keyboard and mouse input to the windows' contents.
// What closes a window, moves it or opens its window menu passes: Alt+F4, Alt+Space, F10, Alt
// alone, and the mouse on a top-level window's frame.
bool IsInputRefusedDuringWait(const MSG &message);

// The pointer the windows show while a wait runs.
HCURSOR BusyPointer();
