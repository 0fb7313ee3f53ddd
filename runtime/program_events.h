// Holding program events back: while held, no event reaches a program handler. The error
// report, shutdown, the window engine's pumping and the wait that keeps the windows alive all
// hold them through this one pair, on the runtime's EventSuppressionCount.
#pragma once

// Raises the count. Safe from any thread: an error report may come from another one.
void HoldProgramEvents();
// Lowers the count again; a count at zero stays there.
void ReleaseProgramEvents();
