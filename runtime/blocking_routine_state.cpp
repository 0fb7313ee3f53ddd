// Whether a blocking program routine runs. Apart from the mechanism, so that the window engine's
// question pulls in nothing else of the runtime.
#include <atomic>

#include "runtime/blocking_routine.h"

namespace {

std::atomic<HANDLE> gWorker{nullptr};

} // namespace

void SetBlockingRoutineWorker(HANDLE worker) {
    gWorker = worker;
}

bool BlockingRoutineRunning() {
    return gWorker.load() != nullptr;
}

HCURSOR BusyPointer() {
    return LoadCursorA(nullptr, IDC_WAIT);
}
