// The HWND-to-object map and the subclassing window procedure of CWnd.
#include "framework/window.h"

#include <unordered_map>

namespace {

// Windows live on the GUI thread, so the map needs no lock. The map is never destroyed: static
// window objects may be destroyed after it would have been.
std::unordered_map<HWND, CWnd *> &WindowMap() {
    static auto *map = new std::unordered_map<HWND, CWnd *>;
    return *map;
}

} // namespace

CWnd::~CWnd() {
    DestroyWindow();
}

CWnd *CWnd::FromHandlePermanent(HWND window) {
    const auto found = WindowMap().find(window);
    return found == WindowMap().end() ? nullptr : found->second;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                  menu, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        return FALSE;
    }
    Attach(window);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this) {
        return FALSE;
    }
    // WM_NCDESTROY detaches the object.
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG *) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(originalProc_, m_hWnd, message, wParam, lParam);
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    WindowMap()[window] = this;
    originalProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::FrameworkWindowProc)));
}

void CWnd::Detach() {
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    WindowMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    CWnd *object = FromHandlePermanent(window);
    if (object == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = object->Default(message, wParam, lParam);
        object->Detach();
        return result;
    }
    return object->WindowProc(message, wParam, lParam);
}
