// How program code calls the runtime: the typed, logic-free wrappers over the service table
// slots that program code (app/ and the test programs) uses. On Windows every call goes through
// the RuntimeServiceTable exactly as compiled code would; the host build calls the services
// directly, since it has no service table.
#pragma once

#include <cstdint>

#include "runtime/argument_record.h"

// Calls a kernel command through service slot 3 (CallKernelCommand) with count records laid out
// in argument order, and returns the result record (which starts zeroed).
ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord *records);

// What WaitKeepingWindowsAlive reports.
enum WaitOutcome : uint32_t {
    kWaitAnswered = 0,       // the answer came in time
    kWaitDeadlinePassed = 1, // the time passed without it
    kWaitInterrupted = 2,    // a window is to close, or the program to quit: give up at once
};

namespace ProgramCall {

// Slots 6, 7, 8: the runtime heap.
void *AllocateMemory(uint32_t bytes);
void *ReallocateMemory(void *block, uint32_t bytes);
void FreeMemory(void *block);
// Slot 0: reports entry index of the error-message table; does not return.
[[noreturn]] void ReportError(int32_t index);
// Slot 9: shutdown, then the process ends with code.
[[noreturn]] void ExitProgram(int32_t code);
// Slots 4 and 5: a unit's property by WindowId, UnitId (0 for the window itself), property
// index and sub-index (-1 except for font fields); the value travels as its low and high word.
uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subIndex);
void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subIndex,
                       uint32_t low, uint32_t high);
// Slots 10 and 11.
void RunMessageLoop();
void LoadStartWindow(uint32_t windowId);
// Slot 12, internal commands 6, 3, 2, 0, 1, 7 and 8. WaitKeepingWindowsAlive waits until answer
// (an event object) is signalled or milliseconds have passed while the windows stay alive; a close
// asked for meanwhile ends it early. BindDllCommand binds DLL command index on the calling thread
// as its first call would (a failure is reported and ends the program) and returns its entry, for
// a thread of the program's own that must not read the binder's lists.
void InitializeRuntime();
void RegisterExitRoutine(void (*routine)());
void MakeArrayWritable(uint32_t elementSize, void **arrayVariable);
char *FileSearchStep(const char *pattern, uint32_t mask, bool directoriesExcluded,
                     void **searchSlot);
void FileSearchClose(void *search);
uint32_t WaitKeepingWindowsAlive(void *answer, uint32_t milliseconds);
void *BindDllCommand(uint32_t index);

} // namespace ProgramCall
