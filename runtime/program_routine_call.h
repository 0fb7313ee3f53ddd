// Calls into compiled program code that may leave any register changed: the runtime's
// registers and stack pointer are restored after the routine returns.
#pragma once

#include <cstdint>

extern "C" uint32_t CallProgramRoutine(uint32_t routine);
// routine(argument), the caller removing the argument.
extern "C" uint32_t CallProgramRoutineWithArgument(uint32_t routine, uint32_t argument);
