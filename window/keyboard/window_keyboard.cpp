// The window's pre-translation in its steps: disabled windows, menus, accelerators, messages of
// other windows, drag by client area, the keys the window handles itself, then the shared events.
#include "window/keyboard/window_keyboard.h"

#include <cctype>
#include <string>

#include "runtime/program_text_wide.h"
#include "window/event_dispatch.h"
#include "window/keyboard/keyboard_steps.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

constexpr uint32_t kModifierCtrl = 1;
constexpr uint32_t kModifierShift = 2;
constexpr uint32_t kModifierAlt = 4;
constexpr const char *kHelpExtension = "hlp";

// The virtual keys of the letters and of the main keyboard's digits.
bool IsLetterOrDigitKey(uint32_t key) {
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// Whether window is the main window of a loaded window of the collection.
bool IsLoadedMainWindow(HWND window) {
    WindowCollection *collection = Windows();
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        CWnd *loaded = LiveWindowOf(*collection->At(i));
        if (loaded != nullptr && loaded->m_hWnd == window)
            return true;
    }
    return false;
}

// A unit whose type raises event 0 on Enter: its control is enabled, it is a push button and
// its default-button test says yes.
bool IsDefaultPushUnit(const FocusUnit &unit) {
    if (unit.unit == nullptr || !IsWindowEnabled(unit.unit->m_hWnd) ||
        !(unit.typeFlags & kTypePushButton))
        return false;
    auto isDefault = reinterpret_cast<UnitIsDefaultButtonOperation>(
        UnitOperationOf(unit.descriptor, kOperationIsDefaultButton));
    return isDefault != nullptr && isDefault(unit.unit);
}

std::string CaptionOf(HWND control) {
    return WindowProgramText(control);
}

// Whether caption marks character with "&" (letters in either case).
bool MarksCharacter(const std::string &caption, char character) {
    for (size_t at = caption.find('&'); at != std::string::npos && at + 1 < caption.size();
         at = caption.find('&', at + 1))
        if (std::toupper(static_cast<unsigned char>(caption[at + 1])) ==
            std::toupper(static_cast<unsigned char>(character)))
            return true;
    return false;
}

class KeyHandler {
public:
    KeyHandler(CWinFormUnit *window, WindowTemplate &units) : window_(window), units_(units) {}

    // True when the window took the key.
    bool Handle(const MSG &message) {
        const uint32_t key = static_cast<uint32_t>(message.wParam);
        const uint32_t modifiers = ModifierKeys();
        const int32_t focusedIndex = FocusedUnitIndex(units_, GetFocus());
        if (focusedIndex > 0)
            ReadFocusUnit(units_, static_cast<uint32_t>(focusedIndex), &focused_);
        const bool altLetter = message.message == WM_SYSKEYDOWN &&
                               (modifiers & (kModifierCtrl | kModifierShift)) == 0 &&
                               IsLetterOrDigitKey(key);
        if (message.message != WM_KEYDOWN && !altLetter)
            return false;
        const bool offered =
            altLetter || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_F1;
        if (offered && FocusedUnitTakes(key))
            return false;
        if (altLetter)
            return ActivateMarkedUnit(static_cast<char>(key));
        switch (key) {
        case VK_TAB:
            if (focused_.unit != nullptr)
                MoveFocus(window_->windowId, units_, focused_.index,
                          (modifiers & kModifierShift) == 0, FocusScope{}, false);
            return true;
        case VK_RETURN:
            return PressEnter();
        case VK_ESCAPE:
            if (!window_->properties.escCloses)
                return false;
            SendMessageA(window_->m_hWnd, WM_CLOSE, 0, 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return MoveInOptionGroup(key == VK_RIGHT || key == VK_DOWN);
        case VK_F1:
            return OpenHelp();
        default:
            return false;
        }
    }

private:
    bool FocusedUnitTakes(uint32_t key) const {
        auto hook = reinterpret_cast<UnitKeyHookOperation>(
            UnitOperationOf(focused_.descriptor, kOperationKeyHook));
        return focused_.unit != nullptr && hook != nullptr && hook(focused_.unit, key);
    }

    bool PressEnter() {
        if (IsDefaultPushUnit(focused_)) {
            RaiseUnitEvent(window_->windowId, focused_.unitId, 0);
            return true;
        }
        if (window_->properties.enterMovesFocus) {
            if (focused_.unit != nullptr)
                MoveFocus(window_->windowId, units_, focused_.index, true, FocusScope{}, false);
            return true;
        }
        for (uint32_t i = 1; i < units_.UnitCount(); ++i) {
            FocusUnit unit;
            if (ReadFocusUnit(units_, i, &unit) && IsDefaultPushUnit(unit)) {
                RaiseUnitEvent(window_->windowId, unit.unitId, 0);
                return true;
            }
        }
        return false;
    }

    bool MoveInOptionGroup(bool forward) {
        if (focused_.unit == nullptr || !(focused_.typeFlags & kTypeOption))
            return false;
        FocusScope scope;
        scope.optionsOnly = true;
        scope.optionParent = GetParent(focused_.unit->m_hWnd);
        MoveFocus(window_->windowId, units_, focused_.index, forward, scope, true);
        return true;
    }

    bool OpenHelp() {
        const WindowProperties &p = window_->properties;
        if (!p.f1OpensHelp)
            return false;
        std::string file = p.helpFile;
        if (file.empty()) {
            char program[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, program, MAX_PATH);
            file = program;
            const size_t dot = file.find_last_of('.');
            const size_t slash = file.find_last_of("\\/");
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                file.resize(dot);
            file = file + "." + kHelpExtension;
        }
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        WinHelpA(window_->m_hWnd, file.c_str(), p.helpTopic != 0 ? HELP_CONTEXT : HELP_FINDER,
                 p.helpTopic);
        window_->helpOpened = true;
        return true;
    }

    // Alt with a letter or digit: the first visible, enabled unit whose caption marks it.
    bool ActivateMarkedUnit(char character) {
        for (uint32_t i = 1; i < units_.UnitCount(); ++i) {
            FocusUnit unit;
            if (!ReadFocusUnit(units_, i, &unit) || unit.unit == nullptr ||
                !(unit.typeFlags & kTypeMnemonicUnits) || (unit.typeFlags & kTypeNeverShown))
                continue;
            HWND control = unit.unit->m_hWnd;
            if (!IsWindowVisible(control) || !IsWindowEnabled(control) ||
                !MarksCharacter(CaptionOf(control), character))
                continue;
            Activate(unit);
            return true;
        }
        return false;
    }

    void Activate(const FocusUnit &unit) {
        HWND control = unit.unit->m_hWnd;
        if (unit.typeFlags & kTypeCheckBox) {
            const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            SendMessageA(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
        } else if (unit.typeFlags & kTypeOption) {
            for (uint32_t i = 1; i < units_.UnitCount(); ++i) {
                FocusUnit other;
                if (ReadFocusUnit(units_, i, &other) && other.unit != nullptr &&
                    (other.typeFlags & kTypeOption) &&
                    GetParent(other.unit->m_hWnd) == GetParent(control))
                    SendMessageA(other.unit->m_hWnd, BM_SETCHECK, BST_UNCHECKED, 0);
            }
            SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
        } else if (!(unit.typeFlags & kTypePushButton)) {
            // A label passes the focus to the next tab stop after it.
            FocusScope scope;
            if (unit.typeFlags & kTypeFocusContainer)
                scope.container = control;
            MoveFocus(window_->windowId, units_, unit.index, true, scope, false);
            return;
        }
        RaiseUnitEvent(window_->windowId, unit.unitId, 0);
    }

    CWinFormUnit *window_;
    WindowTemplate &units_;
    FocusUnit focused_; // the unit holding the focus (no unit: null object)
};

} // namespace

bool TranslateWindowMessage(CWinFormUnit *window, MSG *message) {
    if (window->childWindow)
        return false;
    const UINT kind = message->message;
    HWND handle = window->m_hWnd;
    if (IsKeyMessage(kind) && !IsWindowEnabled(handle))
        return false;
    if (kind == WM_LBUTTONDOWN || kind == WM_NCLBUTTONDOWN)
        SendMessageA(handle, WM_CANCELMODE, 0, 0);
    if (window->Accelerators() != nullptr &&
        TranslateAcceleratorW(handle, window->Accelerators(), message))
        return true;
    HWND root = GetAncestor(message->hwnd, GA_ROOT);
    if (root != handle && !window->keep && IsLoadedMainWindow(root))
        return false;
    WindowTemplate *units = FindWindowTemplate(window->windowId);
    if (units == nullptr)
        return false;
    const uint32_t windowId = window->windowId;

    if (kind == WM_LBUTTONDOWN && window->properties.dragByClientArea) {
        const int32_t index = FocusedUnitIndex(*units, message->hwnd);
        FocusUnit unit;
        const bool dragsWindow =
            message->hwnd == handle ||
            (index > 0 && ReadFocusUnit(*units, index, &unit) &&
             unit.unit->m_hWnd == message->hwnd && (unit.typeFlags & kTypeDragsWindow));
        if (dragsWindow) {
            ReleaseCapture();
            SendMessageA(handle, WM_NCLBUTTONDOWN, HTCAPTION,
                         MAKELPARAM(message->pt.x, message->pt.y));
            return true;
        }
    }
    if (IsKeyMessage(kind) && KeyHandler(window, *units).Handle(*message))
        return true;
    // A key handler may have closed the window.
    if (!IsWindow(handle))
        return true;
    return RaiseInputEvent(windowId, *units, handle, message);
}
