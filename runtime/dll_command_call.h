// Program code's way of calling a DLL command through service slot 1 with a stack check.
#pragma once

#include <cstdint>

// Pushes wordCount 32-bit words (words[0] ends up nearest the return address, as the platform's
// standard convention expects), calls command index and returns its 32-bit result. When the
// command removed a different number of bytes than it was given, runtime error 6 is reported.
extern "C" uint32_t CallDllCommandChecked(uint32_t index, uint32_t wordCount,
                                          const uint32_t *words);
// Service slot 1: the command index travels in EAX; only assembly calls it.
extern "C" void CallDllCommand();
