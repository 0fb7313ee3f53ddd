// The hold and release of program events on the runtime's EventSuppressionCount.
#include "runtime/program_events.h"

#include "runtime/runtime_app.h"

void HoldProgramEvents() {
    InterlockedIncrement(&Runtime().eventSuppressionCount);
}

void ReleaseProgramEvents() {
    volatile LONG &count = Runtime().eventSuppressionCount;
    for (LONG seen = count; seen > 0; seen = count) {
        if (InterlockedCompareExchange(&count, seen - 1, seen) == seen) {
            return;
        }
    }
}
