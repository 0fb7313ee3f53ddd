// The memory, error and exit codes of RuntimeNotify.
#include "runtime/runtime_notify.h"

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/process_heap.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_lifecycle.h"

namespace {

constexpr uint32_t kArrayTypeBit = 0x20000000;
constexpr uint32_t kTextType = 0x80000004;
constexpr uint32_t kByteSetType = 0x80000005;

} // namespace

void FreeArrayValue(uint32_t elementType, void *array) {
    if (array == nullptr) {
        return;
    }
    const uint32_t type = elementType & ~kArrayTypeBit;
    if (type == kTextType || type == kByteSetType) {
        auto *words = static_cast<uint32_t *>(array);
        const uint32_t dimensions = words[0];
        uint64_t elements = 1;
        for (uint32_t i = 0; i < dimensions; ++i) {
            elements *= words[1 + i];
        }
        void **element = reinterpret_cast<void **>(words + 1 + dimensions);
        for (uint64_t i = 0; i < elements; ++i) {
            FreeMemory(element[i]);
        }
    }
    FreeMemory(array);
}

int32_t __attribute__((stdcall)) RuntimeNotify(int32_t code, uint32_t argument1,
                                               uint32_t argument2) {
    switch (code) {
    case kNotifyFreeArray:
        FreeArrayValue(argument1, reinterpret_cast<void *>(argument2));
        return 0;
    case kNotifyAllocate:
        if (argument2 == 0) {
            return reinterpret_cast<int32_t>(AllocateMemory(argument1));
        }
        return reinterpret_cast<int32_t>(ProcessHeapAlloc(argument1));
    case kNotifyFree:
        FreeMemory(reinterpret_cast<void *>(argument1));
        return 0;
    case kNotifyReallocate:
        return reinterpret_cast<int32_t>(ReallocateMemory(reinterpret_cast<void *>(argument1),
                                                          argument2));
    case kNotifyReportError:
        ReportRuntimeError(reinterpret_cast<const char *>(argument1), 0);
    case kNotifyExitProgram:
        ExitProgram(static_cast<int32_t>(argument1));
    case kNotifyProgramKind:
        return static_cast<int32_t>(Runtime().programKind);
    default:
        return 0;
    }
}
