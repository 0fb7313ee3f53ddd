// The wait that keeps the windows alive, and its input filter.
#include "runtime/windows_alive_wait.h"

#include "runtime/program_events.h"

namespace {

// Window-thread state: waits run only there.
int gDepth = 0;                    // waits running, nested ones included
bool (*gEndCondition)() = nullptr; // set by the window engine: a close or log-off pending

bool Interrupted() {
    return gEndCondition != nullptr && gEndCondition();
}

bool IsAllowedSystemKey(const MSG &message) {
    switch (message.message) {
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Alt+F4 closes, F10 and Alt alone open the menu bar, Alt+Space the window menu. Other
        // Alt combinations reach the controls (Alt+Backspace undoes an edit box's last change).
        return message.wParam == VK_F4 || message.wParam == VK_F10 || message.wParam == VK_MENU ||
               message.wParam == VK_SPACE;
    case WM_SYSCHAR:
        return message.wParam == ' ';
    default:
        return false;
    }
}

bool IsTopLevel(HWND window) {
    return window != nullptr && GetAncestor(window, GA_ROOT) == window;
}

// Dispatches what the queue holds until it is empty or the wait is interrupted. False once a
// quit message came, which is posted again for the loop outside.
bool DispatchPending() {
    MSG message;
    while (!Interrupted() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (!IsInputRefusedDuringWait(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

uint32_t Wait(HANDLE answer, uint32_t milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (Interrupted()) {
            return kWaitInterrupted;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) {
            const bool answered =
                answer != nullptr && WaitForSingleObject(answer, 0) == WAIT_OBJECT_0;
            return answered ? kWaitAnswered : kWaitDeadlinePassed;
        }
        // Without an answer to wait for, only the deadline ends the wait.
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(answer != nullptr ? 1 : 0, &answer, milliseconds - elapsed,
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 && answer != nullptr) {
            return kWaitAnswered;
        }
        if (woken == WAIT_FAILED) {
            // A handle that cannot be waited on never answers.
            return kWaitDeadlinePassed;
        }
        if (!DispatchPending()) {
            return kWaitInterrupted;
        }
    }
}

} // namespace

bool IsInputRefusedDuringWait(const MSG &message) {
    const UINT kind = message.message;
    if (kind >= WM_KEYFIRST && kind <= WM_KEYLAST) {
        return !IsAllowedSystemKey(message);
    }
    if (kind >= WM_MOUSEFIRST && kind <= WM_MOUSELAST) {
        return true;
    }
    if (kind >= WM_NCMOUSEMOVE && kind <= WM_NCXBUTTONDBLCLK) {
        // A control's own frame (the output box's scroll bars) is content too.
        return !IsTopLevel(message.hwnd);
    }
    switch (kind) {
    case WM_CONTEXTMENU:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_IME_CHAR:
    case WM_IME_KEYDOWN:
    case WM_IME_KEYUP:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
        return true;
    default:
        return false;
    }
}

uint32_t WaitKeepingWindowsAlive(HANDLE answer, uint32_t milliseconds) {
    ++gDepth;
    HoldProgramEvents();
    HCURSOR shown = SetCursor(BusyPointer());
    const uint32_t outcome = Wait(answer, milliseconds);
    SetCursor(shown);
    ReleaseProgramEvents();
    --gDepth;
    return outcome;
}

bool WindowsAliveWaitRunning() {
    return gDepth > 0;
}

void SetWaitEndCondition(bool (*pending)()) {
    gEndCondition = pending;
}

HCURSOR BusyPointer() {
    return LoadCursorA(nullptr, IDC_WAIT);
}
