// Mapping the system libraries that DLL commands name before their first call, on a worker
// thread, so that the first call does not wait for the platform to load them.
#pragma once

#include "runtime/dll_binding.h"

// Starts, once per process, a worker thread that loads every distinct library of lists that the
// system directory holds and keeps it loaded until the process ends. It binds nothing: no export
// is looked up, no list entry is changed and nothing is reported; a library that is missing or
// will not load is left for the command's first call to find and report. Libraries that are not
// the system's (a program's own DLL) are never loaded ahead: their start-up code runs when the
// program first calls them, as it always has.
void StartLibraryWarmUp(const DllCommandLists &lists);
