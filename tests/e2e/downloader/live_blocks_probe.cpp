// Linked only into the instrumented programs for tests: a hidden window on a thread of its own
// that answers registered messages about the runtime heap: "ZvLiveBlocks" with the live-block
// count, "ZvAllocationsMade" with the allocation requests so far, "ZvRefusedRequest" and
// "ZvRefusedBytes" with the number and byte count of the request a planned failure refused.
#include <windows.h>

#include "runtime/heap_instrumentation.h"

namespace {

constexpr wchar_t kProbeClass[] = L"ZvLiveBlocksProbe";

struct Question {
    const wchar_t *name;
    LRESULT (*answer)();
    UINT message;
};

Question gQuestions[] = {
    {L"ZvLiveBlocks", [] { return LRESULT{HeapInstrumentation::LiveBlocks()}; }, 0},
    {L"ZvAllocationsMade",
     [] { return static_cast<LRESULT>(HeapInstrumentation::AllocationsMade()); }, 0},
    {L"ZvRefusedRequest",
     [] { return static_cast<LRESULT>(HeapInstrumentation::RefusedRequest()); }, 0},
    {L"ZvRefusedBytes", [] { return static_cast<LRESULT>(HeapInstrumentation::RefusedBytes()); },
     0},
};

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const Question &question : gQuestions) {
        if (message == question.message) {
            return question.answer();
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The probe lives on its own thread so that the program's GUI thread, its windows and its
// message loop stay exactly as in the shipped program; the counters are atomics.
DWORD WINAPI RunProbe(void *) {
    for (Question &question : gQuestions) {
        question.message = RegisterWindowMessageW(question.name);
        if (question.message == 0) {
            return 1;
        }
    }
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = &ProbeProcedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = kProbeClass;
    if (RegisterClassW(&probeClass) == 0 ||
        CreateWindowW(kProbeClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, probeClass.hInstance,
                      nullptr) == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

// Started while the program's static objects are made, before its entry runs.
[[maybe_unused]] const HANDLE gProbeThread =
    CreateThread(nullptr, 0, &RunProbe, nullptr, 0, nullptr);

} // namespace
