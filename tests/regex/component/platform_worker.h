// PlatformWorker: the platform's component on a thread of its own, so that a case it never
// finishes (Wine's matcher can loop) costs a time limit instead of the whole run.
#pragma once

#include <windows.h>

#include "tests/regex/component/differential_outcome.h"

namespace RegExpTest {

class PlatformWorker {
public:
    PlatformWorker();
    // Stops the thread and waits for it. A worker whose Run returned false must not be
    // destroyed: its thread may still write into it.
    ~PlatformWorker();
    PlatformWorker(const PlatformWorker &) = delete;
    PlatformWorker &operator=(const PlatformWorker &) = delete;

    // False when the platform's component could not be created on the worker's thread.
    bool Ready() const { return ready_; }
    // Runs the case (first checking, for a Global case, whether the platform's Replace fails,
    // and then running it without Global). False when no answer came within limitMs: the
    // thread is still busy, and the worker must be left to it.
    bool Run(const Case &one, DWORD limitMs, bool &comparedWithoutGlobal, Outcome &outcome);

private:
    static DWORD WINAPI Serve(void *self);

    HANDLE thread_ = nullptr;
    HANDLE jobReady_ = nullptr;
    HANDLE jobDone_ = nullptr;
    bool ready_ = false;
    bool stop_ = false;
    // The job, written by the caller before jobReady_ and read after jobDone_.
    Case job_;
    bool skipGlobal_ = false;
    Outcome result_;
};

} // namespace RegExpTest
