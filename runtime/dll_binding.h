// DLL command binding: finds a declared external function at its first call and caches it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// A view of the four parallel per-index lists of the runtime and of the two folders in which a
// named library is looked for first.
struct DllCommandLists {
    uint32_t count;
    const char *const *libraryNames; // null or empty: the default libraries are searched
    const char *const *exportNames;  // "#" and decimal digits: looked up by ordinal
    HMODULE *modules;                // the module that supplied each entry; null while unbound
    FARPROC *entries;                // the cache; null while unbound
    const char *programDirectory;    // without a trailing backslash
    const char *moduleDirectory;     // with its trailing backslash, or empty
};

// The platform calls that binding makes. Replaceable so that tests can watch every load.
struct ModuleLoader {
    HMODULE (*load)(const char *path);
    // For a bare library name that the system directory holds: true, with module the system's
    // file loaded (null if it would not load). False when the system has no such library.
    bool (*loadFromSystem)(const char *name, HMODULE *module);
    // exportName is a name, or an ordinal in the MAKEINTRESOURCE form.
    FARPROC (*find)(HMODULE module, const char *exportName);
    void (*unload)(HMODULE module);
    // Reports a binding failure. In the program it ends the process and does not return.
    void (*fail)(const char *message);
};

// LoadLibraryA, LoadSystemLibrary, GetProcAddress, FreeLibrary and ReportRuntimeError with
// code 0.
const ModuleLoader &PlatformModuleLoader();

// Returns the entry of command index, binding it on its first call. On failure the loader's
// fail is called with the message, and null is returned if it comes back.
FARPROC BindDllCommand(const DllCommandLists &lists, uint32_t index, const ModuleLoader &loader);

// Unloads every bound module once and clears the module and entry lists.
void ReleaseDllCommandModules(const DllCommandLists &lists, const ModuleLoader &loader);

// The ordinal an export name "#..." stands for: the decimal number after "#" (leading blanks,
// an optional sign, digits up to the first non-digit), low 16 bits. -1 for a name without "#".
int32_t DllExportOrdinal(const char *exportName);

// The report text of a failed binding: library null or empty means none was named.
std::string DllBindingFailureMessage(const char *library, const char *exportName);

// The lists that ResolveDllCommand binds against; start-up hands them over once they are
// filled, shutdown hands over null.
void UseDllCommandLists(const DllCommandLists *lists);

// Service slot 1's resolver: the entry of command index, never null (a failure is reported and
// ends the program).
extern "C" FARPROC ResolveDllCommand(uint32_t index);
