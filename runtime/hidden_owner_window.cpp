// The hidden owner window and its one message: an exit request from another thread.
#include "runtime/hidden_owner_window.h"

#include "runtime/wiring_routines.h"

namespace {

constexpr wchar_t kClassName[] = L"_LM_HideOwner";

} // namespace

bool HiddenOwnerWindow::Create(HINSTANCE instance) {
    WNDCLASSW existing;
    if (!GetClassInfoW(instance, kClassName, &existing)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        windowClass.lpszClassName = kClassName;
        if (RegisterClassW(&windowClass) == 0) {
            return false;
        }
    }
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT HiddenOwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kExitRequestMessage) {
        ShutDownAndExit(static_cast<int32_t>(wParam));
    }
    return DefWindowProc(message, wParam, lParam);
}
