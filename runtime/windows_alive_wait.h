// The wait that keeps the windows alive: program code on the window thread waits for another
// thread's answer the way a Windows modal loop does. The program's windows paint, move, answer
// the system and run their timers; program events are held back; the windows refuse keyboard and
// mouse input to their contents in their own window procedures, so that every loop nested in the
// wait obeys it; the busy pointer shows; a deadline bounds it all. A close asked for meanwhile
// ends the wait at once and is carried out after the handler has returned.
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
// What ends every wait at once while it answers true: the window engine hands down whether a
// close or a log-off was asked for and is still to be carried out. Null: nothing does.
void SetWaitEndCondition(bool (*pending)());

// Whether the windows refuse the message during a wait: keyboard and mouse input to their
// contents, the context menu, the clipboard and undo messages that tools send, and input-method
// results. What closes a window, moves it or opens its window menu passes: Alt+F4, Alt+Space,
// F10, Alt alone, and the mouse on a top-level window's frame. The wait's own loop drops what
// this refuses before dispatching it, which the windows would drop anyway.
bool IsInputRefusedDuringWait(const MSG &message);

// The pointer the windows show while a wait runs.
HCURSOR BusyPointer();
