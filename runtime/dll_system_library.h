// Libraries of the system directory: a DLL command that names a library the system has binds
// to the system's file, whatever lies beside the program.
#pragma once

#include <windows.h>

#include <string>

// The file that a bare library name stands for, as LoadLibrary reads it: ".dll" added when the
// name has no extension, a trailing "." (which says "no extension") dropped. Empty for an empty
// name and for a name with a drive or a folder, which is never looked for in the system
// directory.
std::wstring SystemLibraryFileName(const std::wstring &name);

// Looks for the library name (code page of the system) in the system directory. True when the
// directory holds that file; module is then the file loaded by its full path (its own
// dependencies looked for beside it first), or null if it would not load. False, with module
// untouched, for a name with a folder or a file the system directory does not hold.
bool LoadSystemLibrary(const char *name, HMODULE *module);
