// Splits the executable's path into the program directory and the file name at the last
// backslash, stepping over double-byte characters of code page 936 (a trail byte equal to the
// backslash does not count).
#pragma once

#include <cstddef>
#include <string>

struct ProgramPath {
    std::string directory; // before the last backslash; empty when there is none
    std::string fileName;  // after it; the whole path when there is none
};

ProgramPath SplitExecutablePath(const char *path, size_t length);
