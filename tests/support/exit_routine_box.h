// An exit routine for test programs that makes its run visible: a box captioned "exit routine"
// whose text counts the runs and tells whether it ran on the program's main thread.
#pragma once

// Records the calling thread as the main thread.
void RememberMainThread();
void ShowExitRoutineBox();
