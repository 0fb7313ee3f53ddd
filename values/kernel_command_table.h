// The kernel library's command table: the commands this program calls, in table order. A
// command's position is its index; program code calls the same routines by address.
#pragma once

#include "runtime/argument_record.h"

inline constexpr int kKernelCommandCount = 35;

extern const KernelCommand KernelCommandTable[kKernelCommandCount];
