// Linked only into the instrumented program for tests: a hidden window on a thread of its own
// that answers the registered message "ZvLiveBlocks" with the runtime heap's live-block count.
#include <windows.h>

#include "runtime/heap_instrumentation.h"

namespace {

constexpr wchar_t kProbeClass[] = L"ZvLiveBlocksProbe";
constexpr wchar_t kQuestion[] = L"ZvLiveBlocks";

UINT gQuestion = 0;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == gQuestion) {
        return HeapInstrumentation::LiveBlocks();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The probe lives on its own thread so that the program's GUI thread, its windows and its
// message loop stay exactly as in the shipped program; the count is an atomic.
DWORD WINAPI RunProbe(void *) {
    gQuestion = RegisterWindowMessageW(kQuestion);
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = &ProbeProcedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = kProbeClass;
    if (gQuestion == 0 || RegisterClassW(&probeClass) == 0 ||
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
