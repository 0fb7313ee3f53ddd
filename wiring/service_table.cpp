// The service table and the internal command table in slot order.
#include "wiring/service_table.h"

#include "runtime/dll_binding.h"
#include "runtime/dll_command_call.h"
#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/windows_alive_wait.h"
#include "window/property_access.h"
#include "wiring/internal_commands.h"
#include "wiring/runtime_lifecycle.h"

namespace {

template <typename Routine> uint32_t EntryOf(Routine routine) {
    return reinterpret_cast<uint32_t>(routine);
}

// Each routine is called with the words program code pushes (the caller removes them).
void ReportErrorEntry(int32_t index) {
    ReportError(index);
}
void *AllocateMemoryEntry(uint32_t bytes) {
    return AllocateMemory(bytes);
}
void *ReallocateMemoryEntry(void *block, uint32_t bytes) {
    return ReallocateMemory(block, bytes);
}
void FreeMemoryEntry(void *block) {
    FreeMemory(block);
}
void ExitProgramEntry(int32_t code) {
    ExitProgram(code);
}
void RunMessageLoopEntry() {
    RunMessageLoop();
}
void LoadStartWindowEntry(uint32_t windowId) {
    LoadStartWindow(windowId);
}
void InitializeRuntimeEntry() {
    InitializeRuntime();
}

} // namespace

extern "C" void CallExternalPackageRoutine() {
    ReportRuntimeError("静态编译的程序不支持调用位于外部Lumo包中的子程序", 0);
}

extern "C" const uint32_t RuntimeServiceTable[kServiceSlotCount] = {
    EntryOf(&ReportErrorEntry),    EntryOf(&CallDllCommand),        EntryOf(&CallKernelCommand),
    EntryOf(&CallKernelCommand),   EntryOf(&ReadUnitProperty),      EntryOf(&WriteUnitProperty),
    EntryOf(&AllocateMemoryEntry), EntryOf(&ReallocateMemoryEntry), EntryOf(&FreeMemoryEntry),
    EntryOf(&ExitProgramEntry),    EntryOf(&RunMessageLoopEntry),   EntryOf(&LoadStartWindowEntry),
    EntryOf(&CallInternalCommand),
};

extern "C" const uint32_t InternalCommandTable[kInternalCommandCount] = {
    EntryOf(&FileSearchStep),         EntryOf(&FileSearchClose),
    EntryOf(&MakeArrayWritable),      EntryOf(&RegisterExitRoutine),
    EntryOf(&ReadTypeProperty),       EntryOf(&WriteTypeProperty),
    EntryOf(&InitializeRuntimeEntry), EntryOf(&WaitKeepingWindowsAlive),
    EntryOf(&ResolveDllCommand),
};
extern "C" const uint32_t InternalCommandCount = kInternalCommandCount;
