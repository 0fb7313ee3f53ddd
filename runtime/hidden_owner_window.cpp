// The hidden owner window and its one message: an exit request from another thread.
#include "runtime/hidden_owner_window.h"

#include "runtime/wiring_routines.h"

namespace {

constexpr char kClassName[] = "_LM_HideOwner";

} // namespace

bool HiddenOwnerWindow::Create(HINSTANCE instance) {
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kClassName, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        windowClass.lpszClassName = kClassName;
        if (RegisterClassA(&windowClass) == 0) {
            return false;
        }
    }
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT HiddenOwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kExitRequestMessage) {
        ShutDownAndExit(static_cast<int32_t>(wParam));
    }
    return DefWindowProc(message, wParam, lParam);
}
