// The worker thread: its own apartment, its own instance of the platform's component, one case
// at a time handed over through two events.
#include "tests/regex/component/platform_worker.h"

#include "tests/regex/component/regexp_instances.h"

namespace RegExpTest {

PlatformWorker::PlatformWorker() {
    jobReady_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    jobDone_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
    // The thread reports whether it could make the component.
    WaitForSingleObject(jobDone_, INFINITE);
}

PlatformWorker::~PlatformWorker() {
    stop_ = true;
    SetEvent(jobReady_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(jobReady_);
    CloseHandle(jobDone_);
    CloseHandle(thread_);
}

bool PlatformWorker::Run(const Case &one, DWORD limitMs, bool &comparedWithoutGlobal,
                         Outcome &outcome) {
    job_ = one;
    SetEvent(jobReady_);
    if (WaitForSingleObject(jobDone_, limitMs) != WAIT_OBJECT_0) {
        return false;
    }
    comparedWithoutGlobal = skipGlobal_;
    outcome = result_;
    return true;
}

DWORD WINAPI PlatformWorker::Serve(void *self) {
    auto *worker = static_cast<PlatformWorker *>(self);
    CoInitialize(nullptr);
    IDispatch *platform = NewPlatformRegExp();
    worker->ready_ = platform != nullptr;
    SetEvent(worker->jobDone_);
    while (platform != nullptr) {
        WaitForSingleObject(worker->jobReady_, INFINITE);
        if (worker->stop_) {
            break;
        }
        Case one = worker->job_;
        worker->skipGlobal_ = one.global && ReplaceFails(platform, one);
        if (worker->skipGlobal_) {
            one.global = false;
        }
        worker->result_ = RunCase(platform, one);
        SetEvent(worker->jobDone_);
    }
    if (platform != nullptr) {
        platform->Release();
    }
    CoUninitialize();
    return 0;
}

} // namespace RegExpTest
