// The shared events of mouse, key and wheel messages aimed at a window or its units, with the
// swallowing and character replacement their handlers decide.
#include "framework/window.h"
#include "runtime/program_text_wide.h"
#include "window/dpi_scale.h"
#include "window/event_dispatch.h"
#include "window/keyboard/keyboard_steps.h"
#include "window/window_collection.h"

namespace {

enum InputEvent : int32_t {
    kLeftPressed = -1,
    kLeftReleased = -2,
    kLeftDoubleClicked = -3,
    kRightPressed = -4,
    kRightReleased = -5,
    kMouseMoved = -6,
    kKeyPressed = -9,
    kKeyReleased = -10,
    kCharacterTyped = -11,
    kWheelTurned = -12,
};

constexpr int32_t kNoEvent = 0;
constexpr uint32_t kMinusKey = 189;
constexpr uint32_t kPeriodKey = 190;
constexpr uint32_t kSlashKey = 191;
constexpr int kWheelNotch = 120;

int32_t EventOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return kLeftPressed;
    case WM_LBUTTONUP:
        return kLeftReleased;
    case WM_LBUTTONDBLCLK:
        return kLeftDoubleClicked;
    case WM_RBUTTONDOWN:
        return kRightPressed;
    case WM_RBUTTONUP:
        return kRightReleased;
    case WM_MOUSEMOVE:
        return kMouseMoved;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return kKeyPressed;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return kKeyReleased;
    case WM_CHAR:
        return kCharacterTyped;
    case WM_MOUSEWHEEL:
        return kWheelTurned;
    default:
        return kNoEvent;
    }
}

// Keypad digits report as the digit keys, keypad minus, point and slash as the main keys.
uint32_t ReportedKey(WPARAM key) {
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return static_cast<uint32_t>('0' + (key - VK_NUMPAD0));
    switch (key) {
    case VK_SUBTRACT:
        return kMinusKey;
    case VK_DECIMAL:
        return kPeriodKey;
    case VK_DIVIDE:
        return kSlashKey;
    default:
        return static_cast<uint32_t>(key);
    }
}

// The UnitId of the unit the message is aimed at; false when it is aimed at none of them.
bool TargetUnit(WindowTemplate &window, HWND handle, HWND target, uint32_t *unitId) {
    if (target == handle) {
        *unitId = window.UnitIdAt(0);
        return true;
    }
    for (uint32_t i = 1; i < window.UnitCount(); ++i) {
        CWnd *unit = LiveUnitAt(window, i);
        if (unit != nullptr && unit->m_hWnd == target) {
            *unitId = window.UnitIdAt(i);
            return true;
        }
    }
    for (uint32_t i = 1; i < window.UnitCount(); ++i) {
        FocusUnit unit;
        if (ReadFocusUnit(window, i, &unit) && unit.unit != nullptr &&
            (unit.typeFlags & (kTypeContainsTargets | kTypeContainsTargetsToo)) &&
            IsChild(unit.unit->m_hWnd, target)) {
            *unitId = unit.unitId;
            return true;
        }
    }
    return false;
}

} // namespace

uint32_t ModifierKeys() {
    uint32_t keys = 0;
    if (GetKeyState(VK_CONTROL) < 0)
        keys |= 1;
    if (GetKeyState(VK_SHIFT) < 0)
        keys |= 2;
    if (GetKeyState(VK_MENU) < 0)
        keys |= 4;
    return keys;
}

bool RaiseInputEvent(uint32_t windowId, WindowTemplate &window, HWND handle, MSG *message) {
    const int32_t event = EventOf(message->message);
    uint32_t unitId = 0;
    if (event == kNoEvent || !TargetUnit(window, handle, message->hwnd, &unitId))
        return false;
    uint32_t arguments[3] = {};
    uint32_t count = 0;
    switch (event) {
    case kKeyPressed:
    case kKeyReleased:
        arguments[0] = ReportedKey(message->wParam);
        arguments[1] = ModifierKeys();
        count = 2;
        break;
    case kCharacterTyped:
        // Windows get their characters wide; the program's character codes are code page 936.
        arguments[0] = WideCharacterToProgram(static_cast<wchar_t>(message->wParam));
        count = 1;
        break;
    case kWheelTurned:
        arguments[0] = static_cast<uint32_t>(GET_WHEEL_DELTA_WPARAM(message->wParam) / kWheelNotch);
        arguments[1] = ModifierKeys();
        count = 2;
        break;
    default: { // mouse buttons and moves: client coordinates in units, as unsigned 16-bit values
        const int dpi = WindowDpi(message->hwnd);
        arguments[0] = static_cast<uint16_t>(
            PixelsToUnits(static_cast<int16_t>(LOWORD(message->lParam)), dpi));
        arguments[1] = static_cast<uint16_t>(
            PixelsToUnits(static_cast<int16_t>(HIWORD(message->lParam)), dpi));
        arguments[2] = ModifierKeys();
        count = 3;
        break;
    }
    }
    const EventOutcome outcome = RaiseUnitEvent(windowId, unitId, event, count, arguments);
    // A handler declared without a result leaves the message alone.
    if (!outcome.handled || !outcome.hasResult)
        return false;
    if (outcome.result == 0)
        return true;
    if (event == kCharacterTyped)
        message->wParam = ProgramCharacterToWide(static_cast<uint32_t>(outcome.result));
    return false;
}
