// RuntimeNotify: the entry through which support-library code calls back into the runtime,
// by code with two 32-bit arguments.
#pragma once

#include <cstdint>

enum RuntimeNotifyCode : int32_t {
    kNotifyFreeArray = 2023,
    kNotifyAllocate = 2024,
    kNotifyFree = 2025,
    kNotifyReallocate = 2026,
    kNotifyReportError = 2027,
    kNotifyExitProgram = 2028,
    kNotifyProgramKind = 2030,
};

// Codes not listed above answer 0 until the window engine handles its own.
int32_t __attribute__((stdcall))
RuntimeNotify(int32_t code, uint32_t argument1, uint32_t argument2);
