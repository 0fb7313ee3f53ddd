// The kernel support library ("系统核心支持库") as the image carries it: its record, its data type
// table and its notification routine.
#pragma once

#include "runtime/image_layout.h"

inline constexpr uint32_t kKernelDataTypeCount = 51;

extern const LibraryRecord KernelLibraryRecord;
// kKernelDataTypeCount entries; entry n - 1 describes data type n.
extern const UnitTypeDescriptor *const KernelDataTypes;

// The library's notify routine: stores the runtime's callback on message 1, answers -1 to every
// message it does not handle.
int32_t __attribute__((stdcall))
KernelLibraryNotify(int32_t message, uint32_t argument1, uint32_t argument2);
// The runtime callback received with message 1 (0 before start-up).
uint32_t KernelLibraryRuntimeCallback();
