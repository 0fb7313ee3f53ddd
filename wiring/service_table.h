// The runtime's entry points for program code: the RuntimeServiceTable (13 slots) and the
// InternalCommandTable (9 entries) that slot 12 dispatches to.
#pragma once

#include <cstdint>

inline constexpr int kServiceSlotCount = 13;
inline constexpr int kInternalCommandCount = 9;

enum ServiceSlot : int {
    kSlotReportError = 0,
    kSlotCallDllCommand = 1,
    kSlotCallCommandSpare = 2,
    kSlotCallKernelCommand = 3,
    kSlotReadUnitProperty = 4,
    kSlotWriteUnitProperty = 5,
    kSlotAllocateMemory = 6,
    kSlotReallocateMemory = 7,
    kSlotFreeMemory = 8,
    kSlotExitProgram = 9,
    kSlotRunMessageLoop = 10,
    kSlotLoadStartWindow = 11,
    kSlotCallInternalCommand = 12,
};

enum InternalCommand : int {
    kInternalFileSearchStep = 0,
    kInternalFileSearchClose = 1,
    kInternalMakeArrayWritable = 2,
    kInternalRegisterExitRoutine = 3,
    kInternalReadTypeProperty = 4,
    kInternalWriteTypeProperty = 5,
    kInternalInitializeRuntime = 6,
    kInternalWaitKeepingWindowsAlive = 7,
    kInternalBindDllCommand = 8,
};

extern "C" const uint32_t RuntimeServiceTable[kServiceSlotCount];
extern "C" const uint32_t InternalCommandTable[kInternalCommandCount];
// The table's length, for CallInternalCommand's range check.
extern "C" const uint32_t InternalCommandCount;

// Service slot 3 (and the spare slot 2): the routine address in eax, the argument count and
// the records on the stack; the result record comes back in eax, edx and ecx.
extern "C" void CallKernelCommand();
// Service slot 12: the command index in eax, the command's arguments on the stack.
extern "C" void CallInternalCommand();
// The entry behind CallInternalCommand for calls of routines in external packages, which a
// self-contained program cannot make: it reports and ends the program.
extern "C" void CallExternalPackageRoutine();
