// Mapping the system libraries that DLL commands name before their first call, on a worker
// thread, so that the first call does not wait for the platform to load them; and preparing, on
// the same worker, what components keep for the process.
#pragma once

#include "runtime/dll_binding.h"

// Starts, once per process, a worker thread that loads every distinct library of lists that the
// system directory holds and keeps it loaded until ReleaseLibraryWarmUp. It binds nothing: no
// export is looked up, no list entry is changed and nothing is reported; a library that is missing
// or will not load is left for the command's first call to find and report. Libraries that are not
// the system's (a program's own DLL) are never loaded ahead: their start-up code runs when the
// program first calls them, as it always has. After the libraries, the worker runs the
// preparations added so far, unless ReleaseLibraryWarmUp has been called.
void StartLibraryWarmUp(const DllCommandLists &lists);

// Adds a routine for the warm-up worker: it readies something that a component loads once and
// keeps for the process, and would otherwise load during the call that first needs it (the
// user's first click). It runs on the worker, so it must be safe beside the window thread's own
// first use. Meant for static initialisation, before any warm-up starts; beyond
// kMaxWarmUpPreparations a routine is not added (its component then prepares at first use).
constexpr int kMaxWarmUpPreparations = 4;
void AddWarmUpPreparation(void (*prepare)());

// Stops the worker after the step it is in (one library's load or one preparation), waits for
// it to end (a step that has not ended within seconds is left running), then gives back its
// references to the libraries it loaded; a library it loads after a step past that limit is
// given back by the worker itself. A library that a DLL command bound stays loaded by the
// binder's own reference until that is released.
void ReleaseLibraryWarmUp();
