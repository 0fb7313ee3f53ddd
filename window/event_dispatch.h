// Event dispatch: from a unit's report that event N happened to the call of the handler that the
// window template binds to it.
#pragma once

#include <cstdint>

// RuntimeNotify 2008's record, built by the unit.
struct EventRecord {
    uint32_t windowId;
    uint32_t unitId; // 0 or the window's own UnitId for the window
    int32_t event;
    uint32_t argumentCount; // 0 to 5
    uint32_t arguments[5];
    uint32_t hasResult; // set by the dispatcher
    uint32_t result;    // set by the dispatcher
};
static_assert(sizeof(EventRecord) == 44, "event records are eleven words");

// RuntimeNotify 2031's record with typed arguments.
struct TypedEventArgument {
    uint32_t low;
    uint32_t high;
    uint32_t type;  // TypeCode
    uint32_t flags; // kPassLowWord, kPassBothWords
};
constexpr uint32_t kPassLowWord = 0x1;
constexpr uint32_t kPassBothWords = 0x2;

struct TypedEventRecord {
    uint32_t windowId;
    uint32_t unitId;
    int32_t event;
    uint32_t argumentCount; // 0 to 12
    TypedEventArgument arguments[12];
    uint32_t hasResult;
    uint32_t resultLow;
    uint32_t resultHigh;
};
static_assert(sizeof(TypedEventRecord) == 220, "typed event records are 220 bytes");

// How a handler says whether it returns a value: program code reaches its handlers through the
// entry table behind CodeBase, 5 bytes per routine, and the form of the entry declares it.
//   jmp routine  (0xE9, rel32): the routine returns its answer in EAX (two words: EDX:EAX).
//   call routine (0xE8, rel32): the routine is declared without a result. The dispatcher never
//                               runs this entry; it calls the routine it names and records that
//                               no result came back, so the unit keeps its default behaviour.
// Any other handler address is a routine that answers.
inline constexpr uint8_t kNoResultEntry = 0xE8;

// The handler bound to the event, or null; sets the EventSource when it finds one.
const void *FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t event);
// 1 when a handler was called, 0 when none.
uint32_t FireEvent(EventRecord *record);
uint32_t FireTypedEvent(TypedEventRecord *record);

// True while a program handler runs on the window thread, nested ones included. When the
// outermost one returns, the work deferred meanwhile is asked for (window/deferred_work.h).
bool EventHandlerRunning();

// Convenience for units: fires event with up to five argument words.
struct EventOutcome {
    bool handled;   // a handler ran
    bool hasResult; // it returned a value
    uint32_t result;
    // A question answered "no": a handler ran and returned 0.
    bool Refused() const { return handled && hasResult && result == 0; }
};
EventOutcome RaiseUnitEvent(uint32_t windowId, uint32_t unitId, int32_t event,
                            uint32_t argumentCount = 0, const uint32_t *arguments = nullptr);

// The assembly helper that pushes the argument words and calls a standard-call handler.
extern "C" uint64_t CallStdcallHandler(const void *handler, const uint32_t *words, uint32_t count);
