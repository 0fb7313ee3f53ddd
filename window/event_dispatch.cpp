// FindEventHandler, FireEvent and its typed form.
#include "window/event_dispatch.h"

#include <algorithm>
#include <cstring>

#include "runtime/error_report.h"
#include "runtime/runtime_app.h"
#include "window/deferred_work.h"
#include "window/unit_type.h"
#include "window/window_collection.h"
#include "window/window_engine_state.h"

namespace {

constexpr uint32_t kMaxEventWords = 5;
constexpr uint32_t kMaxTypedArguments = 12;

// Window-thread state: handlers run only there.
int gHandlersRunning = 0;

// Counts a handler's run; the outermost one's return, however it returns, asks for the work that
// came due meanwhile.
class HandlerRun {
public:
    HandlerRun() { ++gHandlersRunning; }
    ~HandlerRun() {
        if (--gHandlersRunning == 0)
            OutermostHandlerReturned();
    }
    HandlerRun(const HandlerRun &) = delete;
    HandlerRun &operator=(const HandlerRun &) = delete;
};

uint64_t CallHandler(const void *routine, const uint32_t *words, uint32_t count) {
    HandlerRun run;
    return CallStdcallHandler(routine, words, count);
}

// The first binding of event in record order; a menu item has its single handler word.
const void *BoundHandler(const UnitRecordView &record, int32_t event) {
    if (record.IsMenuItem()) {
        return reinterpret_cast<const void *>(record.MenuHandler());
    }
    for (uint32_t k = 0; k < record.BindingCount(); ++k) {
        const EventBinding binding = record.Binding(k);
        if (binding.eventNumber == event) {
            return reinterpret_cast<const void *>(binding.handler);
        }
    }
    return nullptr;
}

// Typed arguments become one or two words: the type decides unless the flags do.
void AppendTypedArgument(const TypedEventArgument &argument, uint32_t *words, uint32_t *count) {
    constexpr uint32_t kByte = 0x80000101, kShort = 0x80000201, kDateTime = 0x80000003,
                       kEightBytes = 0x80000008, kLong = 0x80000401, kDouble = 0x80000601;
    if (argument.flags & kPassLowWord) {
        words[(*count)++] = argument.low;
        return;
    }
    const bool bothWords = (argument.flags & kPassBothWords) ||
                           argument.type == kMenuItemUnitType || argument.type == kDateTime ||
                           argument.type == kEightBytes || argument.type == kLong ||
                           argument.type == kDouble;
    if (bothWords) {
        words[(*count)++] = argument.low;
        words[(*count)++] = argument.high;
    } else if (argument.type == kByte) {
        words[(*count)++] = argument.low & 0xFF;
    } else if (argument.type == kShort) {
        words[(*count)++] = static_cast<uint32_t>(
            static_cast<int32_t>(static_cast<int16_t>(argument.low & 0xFFFF)));
    } else {
        words[(*count)++] = argument.low;
    }
}

// The routine to call for a bound handler, and whether it returns a value.
struct HandlerRoutine {
    const void *routine;
    bool answers;
};
HandlerRoutine RoutineOf(const void *handler) {
    const auto *entry = static_cast<const uint8_t *>(handler);
    if (entry[0] != kNoResultEntry)
        return {handler, true};
    int32_t displacement;
    std::memcpy(&displacement, entry + 1, sizeof displacement);
    return {entry + 5 + displacement, false};
}

} // namespace

const void *FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t event) {
    RuntimeApp &app = Runtime();
    if (app.eventSuppressionCount >= 1) {
        return nullptr;
    }
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr) {
        ReportRuntimeError("未找到引发事件的窗口", 0);
    }
    const int32_t index = RecordIndexOf(*window, unitId);
    if (index < 0) {
        ReportRuntimeError("未找到引发事件的窗口组件", 0);
    }
    UnitRecordView record = window->RecordAt(static_cast<uint32_t>(index));
    // Follow the event-target chain while it names records of the same type. A chain that comes
    // back to a record already seen ends after as many steps as there are records.
    for (uint32_t steps = 0; steps < window->UnitCount() && record.EventTarget() != 0; ++steps) {
        const UnitRecordView target = window->FindRecord(record.EventTarget());
        if (!target || target.Type() != record.Type()) {
            break;
        }
        record = target;
    }
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(record.Type());
    if (descriptor == nullptr ||
        (descriptor->flags & (kTypeRaisesEvents | kTypeRaisesEventsToo)) == 0) {
        ReportRuntimeError("引发事件的窗口组件无效", 0);
    }
    const void *handler = BoundHandler(record, event);
    if (handler == nullptr) {
        return nullptr;
    }
    EngineState().eventSource = {windowId, unitId != 0 ? unitId : window->UnitIdAt(0)};
    return handler;
}

uint32_t FireEvent(EventRecord *record) {
    const void *handler = FindEventHandler(record->windowId, record->unitId, record->event);
    if (handler == nullptr)
        return 0;
    const uint32_t count = std::min(record->argumentCount, kMaxEventWords);
    const HandlerRoutine routine = RoutineOf(handler);
    const uint64_t result = CallHandler(routine.routine, record->arguments, count);
    EngineState().eventSource.windowId = 0;
    if (routine.answers) {
        record->hasResult = 1;
        record->result = static_cast<uint32_t>(result);
    }
    return 1;
}

uint32_t FireTypedEvent(TypedEventRecord *record) {
    const void *handler = FindEventHandler(record->windowId, record->unitId, record->event);
    if (handler == nullptr)
        return 0;
    uint32_t words[2 * kMaxTypedArguments];
    uint32_t count = 0;
    const uint32_t arguments = std::min(record->argumentCount, kMaxTypedArguments);
    for (uint32_t i = 0; i < arguments; ++i)
        AppendTypedArgument(record->arguments[i], words, &count);
    const HandlerRoutine routine = RoutineOf(handler);
    const uint64_t result = CallHandler(routine.routine, words, count);
    EngineState().eventSource.windowId = 0;
    if (routine.answers) {
        record->hasResult = 1;
        record->resultLow = static_cast<uint32_t>(result);
        record->resultHigh = static_cast<uint32_t>(result >> 32);
    }
    return 1;
}

bool EventHandlerRunning() {
    return gHandlersRunning > 0;
}

EventOutcome RaiseUnitEvent(uint32_t windowId, uint32_t unitId, int32_t event,
                            uint32_t argumentCount, const uint32_t *arguments) {
    EventRecord record = {windowId, unitId, event, 0, {}, 0, 0};
    record.argumentCount = std::min(argumentCount, kMaxEventWords);
    for (uint32_t i = 0; i < record.argumentCount; ++i)
        record.arguments[i] = arguments[i];
    const bool handled = FireEvent(&record) != 0;
    return {handled, record.hasResult != 0, record.result};
}
