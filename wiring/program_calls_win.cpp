// The Windows program's calls into the runtime: every call goes through a slot of the
// RuntimeServiceTable, as compiled code makes it.
#include "runtime/program_calls.h"

#include "wiring/service_table.h"

extern "C" void ProgramCallKernelCommand(KernelCommand routine, int32_t count,
                                         const ArgumentRecord *records, ArgumentRecord *result);
extern "C" uint64_t ProgramCallInternalCommand(int32_t index, uint32_t wordCount,
                                               const uint32_t *words);

namespace {

template <typename Signature> Signature Slot(ServiceSlot slot) {
    return reinterpret_cast<Signature>(RuntimeServiceTable[slot]);
}

template <typename... Words> uint32_t CallInternal(InternalCommand command, Words... words) {
    const uint32_t list[] = {0, static_cast<uint32_t>(words)...};
    return static_cast<uint32_t>(ProgramCallInternalCommand(command, sizeof...(words), list + 1));
}

} // namespace

ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord *records) {
    ArgumentRecord result{0, 0, 0};
    ProgramCallKernelCommand(command, count, records, &result);
    return result;
}

namespace ProgramCall {

void *AllocateMemory(uint32_t bytes) {
    return Slot<void *(*)(uint32_t)>(kSlotAllocateMemory)(bytes);
}

void *ReallocateMemory(void *block, uint32_t bytes) {
    return Slot<void *(*)(void *, uint32_t)>(kSlotReallocateMemory)(block, bytes);
}

void FreeMemory(void *block) {
    Slot<void (*)(void *)>(kSlotFreeMemory)(block);
}

void ReportError(int32_t index) {
    Slot<void (*)(int32_t)>(kSlotReportError)(index);
    __builtin_unreachable();
}

void ExitProgram(int32_t code) {
    Slot<void (*)(int32_t)>(kSlotExitProgram)(code);
    __builtin_unreachable();
}

uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subIndex) {
    return Slot<uint64_t (*)(uint32_t, uint32_t, int32_t, int32_t)>(kSlotReadUnitProperty)(
        windowId, unitId, index, subIndex);
}

void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subIndex,
                       uint32_t low, uint32_t high) {
    Slot<void (*)(uint32_t, uint32_t, int32_t, int32_t, uint32_t, uint32_t)>(
        kSlotWriteUnitProperty)(windowId, unitId, index, subIndex, low, high);
}

void RunMessageLoop() {
    Slot<void (*)()>(kSlotRunMessageLoop)();
}

void LoadStartWindow(uint32_t windowId) {
    Slot<void (*)(uint32_t)>(kSlotLoadStartWindow)(windowId);
}

void InitializeRuntime() {
    CallInternal(kInternalInitializeRuntime);
}

void RegisterExitRoutine(void (*routine)()) {
    CallInternal(kInternalRegisterExitRoutine, reinterpret_cast<uint32_t>(routine));
}

void MakeArrayWritable(uint32_t elementSize, void **arrayVariable) {
    CallInternal(kInternalMakeArrayWritable, elementSize,
                 reinterpret_cast<uint32_t>(arrayVariable));
}

char *FileSearchStep(const char *pattern, uint32_t mask, bool directoriesExcluded,
                     void **searchSlot) {
    return reinterpret_cast<char *>(
        CallInternal(kInternalFileSearchStep, reinterpret_cast<uint32_t>(pattern), mask,
                     directoriesExcluded ? 1u : 0u, reinterpret_cast<uint32_t>(searchSlot)));
}

void FileSearchClose(void *search) {
    CallInternal(kInternalFileSearchClose, reinterpret_cast<uint32_t>(search));
}

uint32_t WaitKeepingWindowsAlive(void *answer, uint32_t milliseconds) {
    return CallInternal(kInternalWaitKeepingWindowsAlive, reinterpret_cast<uint32_t>(answer),
                        milliseconds);
}

void *BindDllCommand(uint32_t index) {
    return reinterpret_cast<void *>(CallInternal(kInternalBindDllCommand, index));
}

} // namespace ProgramCall
