// RuntimeNotify: the memory, error, exit and idle callback codes here, the window engine's
// codes behind them.
#include "runtime/runtime_notify.h"

#include "runtime/array_block.h"
#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/process_heap.h"
#include "runtime/runtime_app.h"
#include "window/runtime_notify_window.h"
#include "wiring/runtime_lifecycle.h"

namespace {

// RuntimeNotify 1012's record.
struct IdleCallbackRecord {
    HWND window;
    uint32_t routine;
    uint32_t argument;
};

} // namespace

int32_t __attribute__((stdcall))
RuntimeNotify(int32_t code, uint32_t argument1, uint32_t argument2) {
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
        return reinterpret_cast<int32_t>(
            ReallocateMemory(reinterpret_cast<void *>(argument1), argument2));
    case kNotifyReportError:
        ReportRuntimeError(reinterpret_cast<const char *>(argument1), 0);
    case kNotifyExitProgram:
        ExitProgram(static_cast<int32_t>(argument1));
    case kNotifyAddIdleCallback:
        if (const auto *record = reinterpret_cast<const IdleCallbackRecord *>(argument1)) {
            RegisterIdleCallback(record->window, record->routine, record->argument);
        }
        return 0;
    case kNotifyRemoveIdleCallback:
        UnregisterIdleCallback(reinterpret_cast<HWND>(argument1));
        return 0;
    case kNotifyProgramKind:
        return static_cast<int32_t>(Runtime().programKind);
    default:
        return WindowEngineNotify(code, argument1, argument2);
    }
}
