// Focus moves between units, the focus the window passes on, and activation: the redirect to a
// running modal window, events 8, 5 and 6, and the focus kept for the next activation.
#include "runtime/runtime_app.h"
#include "window/event_dispatch.h"
#include "window/keyboard/keyboard_steps.h"
#include "window/keyboard/window_keyboard.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

enum ActivationEvent : int32_t {
    kActivated = 5,
    kDeactivated = 6,
    kFirstActivation = 8,
};

bool IsTopLevel(HWND window) {
    return !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
}

// The first loaded modal window that is top-level, visible and enabled, or null.
HWND RunningModalWindow() {
    WindowCollection *collection = Windows();
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        auto *window = dynamic_cast<CWinFormUnit *>(LiveWindowOf(*collection->At(i)));
        if (window != nullptr && window->modal && IsTopLevel(window->m_hWnd) &&
            IsWindowVisible(window->m_hWnd) && IsWindowEnabled(window->m_hWnd))
            return window->m_hWnd;
    }
    return nullptr;
}

} // namespace

bool MoveFocus(uint32_t windowId, WindowTemplate &window, uint32_t from, bool forward,
               const FocusScope &scope, bool checkOption) {
    const int32_t to = NextFocusIndex(window, from, forward, scope);
    if (to < 0 || static_cast<uint32_t>(to) == from)
        return false;
    CWnd *unit = LiveUnitAt(window, static_cast<uint32_t>(to));
    if (unit == nullptr)
        return false;
    HWND control = unit->m_hWnd;
    if (checkOption) {
        for (uint32_t i = 1; i < window.UnitCount(); ++i) {
            FocusUnit option;
            if (ReadFocusUnit(window, i, &option) && option.unit != nullptr &&
                (option.typeFlags & kTypeOption) &&
                GetParent(option.unit->m_hWnd) == GetParent(control))
                SendMessageA(option.unit->m_hWnd, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
        RaiseUnitEvent(windowId, window.UnitIdAt(static_cast<uint32_t>(to)), 0);
        if (!IsWindow(control))
            return false;
    }
    SetFocus(control);
    return true;
}

bool PassFocusToUnit(CWinFormUnit *window) {
    WindowTemplate *units = FindWindowTemplate(window->windowId);
    if (units == nullptr)
        return false;
    HWND target = window->focusToRestore;
    window->focusToRestore = nullptr;
    if (target == nullptr || !IsWindow(target) || !IsChild(window->m_hWnd, target) ||
        !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        CWnd *first = FirstFocusUnit(*units);
        target = first != nullptr ? first->m_hWnd : nullptr;
    }
    if (target == nullptr)
        return false;
    SetFocus(target);
    return true;
}

void HandleWindowActivation(CWinFormUnit *window, bool active) {
    if (window->inActivationEvents)
        return;
    HWND handle = window->m_hWnd;
    const bool topLevel = IsTopLevel(handle);
    if (active && topLevel && !window->keep && window->activatedOnce && !IsWindowEnabled(handle) &&
        Runtime().programKind != 0) {
        // A modal window disabled this one: the modal window takes the activation.
        if (HWND modal = RunningModalWindow()) {
            SetActiveWindow(modal);
            return;
        }
    }
    UpdateWindow(handle);
    window->inActivationEvents = true;
    if (active && !window->activatedOnce) {
        window->activatedOnce = true;
        window->RaiseEvent(kFirstActivation);
    }
    if (IsWindow(handle))
        window->RaiseEvent(active ? kActivated : kDeactivated);
    if (!IsWindow(handle))
        return; // a handler destroyed the window and its object
    window->inActivationEvents = false;
    if (!active && topLevel) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle, focus))
            window->focusToRestore = focus;
    }
}
