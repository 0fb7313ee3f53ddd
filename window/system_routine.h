// Routines of system libraries that few programs use (the shell's notification area, the
// multimedia players), looked up at their first use instead of imported: an imported library
// and everything it imports would be mapped during every start of every program.
#pragma once

#include <windows.h>

#include "runtime/dll_system_library.h"

// The export name of the system library (a bare name such as "winmm"), or null when the system
// lacks either; the library stays loaded for the process.
template <typename Routine> Routine SystemRoutine(const char *library, const char *name) {
    HMODULE module = nullptr;
    if (!LoadSystemLibrary(library, &module) || module == nullptr) {
        return nullptr;
    }
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Routine>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
