// The compiled program's entry routine, defined by each program (the downloader, each test
// program): it starts the runtime, runs the program and returns the result of InitInstance.
#pragma once

#include <cstdint>

extern "C" uint32_t ProgramEntry();
