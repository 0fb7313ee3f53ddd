// CWnd: the HWND-to-object maps, the creation hook, subclassing, reflection, the final clean-up
// and the pre-translation walk.
#include "framework/window.h"

#include <unordered_map>

namespace {

// Windows live on the GUI thread, so the maps need no lock. They are never destroyed: static
// window objects (the runtime's hidden owner) may be destroyed after they would have been.
std::unordered_map<HWND, CWnd *> &PermanentMap() {
    static auto *map = new std::unordered_map<HWND, CWnd *>;
    return *map;
}

std::unordered_map<HWND, CWnd *> &TemporaryMap() {
    static auto *map = new std::unordered_map<HWND, CWnd *>;
    return *map;
}

// The object whose CreateEx runs; the creation hook hands it the new window before the first
// message (WM_GETMINMAXINFO or WM_NCCREATE) reaches the window procedure.
CWnd *gObjectBeingCreated = nullptr;
HHOOK gCreationHook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && gObjectBeingCreated != nullptr) {
        CWnd *object = gObjectBeingCreated;
        gObjectBeingCreated = nullptr;
        object->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(gCreationHook, code, wParam, lParam);
}

// The child window that a reflected notification comes from, or null.
HWND NotifyingChild(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam != 0 ? reinterpret_cast<const NMHDR *>(lParam)->hwndFrom : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

CWnd::~CWnd() {
    // An object deleted while its window lives must not leave a dangling map entry.
    if (m_hWnd != nullptr) {
        if (superProc_ != nullptr) {
            UnsubclassWindow();
        } else {
            Detach();
        }
    }
}

CWnd *CWnd::FromHandlePermanent(HWND window) {
    const auto found = PermanentMap().find(window);
    return found != PermanentMap().end() ? found->second : nullptr;
}

CWnd *CWnd::FromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    if (CWnd *permanent = FromHandlePermanent(window)) {
        return permanent;
    }
    CWnd *&temporary = TemporaryMap()[window];
    if (temporary == nullptr) {
        temporary = new CWnd;
        temporary->m_hWnd = window;
    }
    return temporary;
}

void CWnd::DeleteTempMap() {
    std::unordered_map<HWND, CWnd *> temporaries;
    temporaries.swap(TemporaryMap());
    for (auto &[window, object] : temporaries) {
        object->m_hWnd = nullptr; // a temporary object never owns its window
        delete object;
    }
}

bool CWnd::Attach(HWND window) {
    if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr) {
        return false;
    }
    m_hWnd = window;
    PermanentMap()[window] = this;
    return true;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (window != nullptr) {
        const auto found = PermanentMap().find(window);
        if (found != PermanentMap().end() && found->second == this) {
            PermanentMap().erase(found);
        }
    }
    m_hWnd = nullptr;
    return window;
}

bool CWnd::SubclassWindow(HWND window) {
    if (!Attach(window)) {
        return false;
    }
    superProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc)));
    return true;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd != nullptr && superProc_ != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    }
    superProc_ = nullptr;
    return Detach();
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t *className, const wchar_t *title, DWORD style,
                    int x, int y, int width, int height, HWND parentOrOwner, HMENU menuOrId) {
    HHOOK outerHook = gCreationHook;
    CWnd *outerObject = gObjectBeingCreated;
    gCreationHook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    gObjectBeingCreated = this;
    HWND window = CreateWindowExW(exStyle, className, title, style, x, y, width, height,
                                  parentOrOwner, menuOrId, GetModuleHandleW(nullptr), nullptr);
    UnhookWindowsHookEx(gCreationHook);
    gCreationHook = outerHook;
    gObjectBeingCreated = outerObject;
    if (window == nullptr) {
        // The hook may have mapped the window before its creation failed.
        if (m_hWnd != nullptr) {
            superProc_ = nullptr;
            Detach();
        }
        return false;
    }
    return m_hWnd == window;
}

bool CWnd::DestroyWindow() {
    return m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG *) {
    return FALSE;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT *) {
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (superProc_ != nullptr) {
        return CallWindowProcW(superProc_, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(currentMessage_.message, currentMessage_.wParam, currentMessage_.lParam);
}

void CWnd::PostNcDestroy() {}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
    HWND child = NotifyingChild(message, lParam);
    if (child == nullptr || child == m_hWnd) {
        return false;
    }
    CWnd *childObject = FromHandlePermanent(child);
    return childObject != nullptr && childObject->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CALLBACK CWnd::FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    CWnd *object = FromHandlePermanent(window);
    if (object == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const MSG outerMessage = object->currentMessage_;
    object->currentMessage_ = MSG{window, message, wParam, lParam, 0, {}};
    ++object->messageDepth_;
    const LRESULT result = object->RefusesMessage(message, wParam, lParam)
                               ? 0
                               : object->WindowProc(message, wParam, lParam);
    --object->messageDepth_;
    object->currentMessage_ = outerMessage;
    if (message == WM_NCDESTROY) {
        // The platform window is gone: unmap the object and give the window its own procedure
        // back. A handler that destroyed the window still runs further up the stack.
        object->UnsubclassWindow();
        object->finalCleanUpDue_ = true;
    }
    if (object->messageDepth_ == 0 && object->finalCleanUpDue_) {
        // The outermost message has returned: the final clean-up may delete the object.
        object->finalCleanUpDue_ = false;
        object->PostNcDestroy();
    }
    return result;
}

bool PreTranslateThroughParents(MSG *message, HWND stopAfter) {
    for (HWND window = message->hwnd; window != nullptr; window = GetParent(window)) {
        CWnd *object = CWnd::FromHandlePermanent(window);
        if (object == nullptr) {
            object = reinterpret_cast<CWnd *>(SendMessageW(window, kFindUnitObjectMessage, 0, 0));
        }
        if (object != nullptr && object->PreTranslateMessage(message)) {
            return true;
        }
        if (window == stopAfter) {
            break;
        }
    }
    return false;
}
