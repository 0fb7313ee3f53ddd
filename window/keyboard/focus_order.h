// Focus order of a window's units: which unit holds the focus, the ordered list of tab stops
// (or of one group of option units), where Tab, Shift+Tab and the arrow keys go, and which unit
// takes the window's first focus.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "window/unit_type.h"
#include "window/window_template.h"

class CWnd;

// Type flags that keyboard handling tests.
constexpr uint32_t kTypeMessageHook = 0x00000020;
constexpr uint32_t kTypeContainsTargets = 0x00000200; // events of windows inside the control
constexpr uint32_t kTypeOption = 0x00000400;
constexpr uint32_t kTypePushButton = 0x00000800;
constexpr uint32_t kTypeCheckBox = 0x00001000;
constexpr uint32_t kTypePassesFocus = 0x00002000;    // a label: passes the focus on
constexpr uint32_t kTypeFocusContainer = 0x00004000; // passes the focus inside itself
constexpr uint32_t kTypeMnemonicUnits = 0x00007C00;
constexpr uint32_t kTypeNoTabStop = 0x00010000;
constexpr uint32_t kTypeContainsTargetsToo = 0x00200000;
constexpr uint32_t kTypeDragsWindow = 0x04000000;

// What keyboard handling knows of one unit record.
struct FocusUnit {
    uint32_t index = 0;
    uint32_t unitId = 0;
    CWnd *unit = nullptr; // live object, or null
    const UnitTypeDescriptor *descriptor = nullptr;
    uint32_t typeFlags = 0;
    uint32_t unitFlags = 0;
    int32_t tabOrder = 0;
};

// The unit of record index (menu items and malformed records: false).
bool ReadFocusUnit(WindowTemplate &window, uint32_t index, FocusUnit *unit);
// The index of the unit whose control is focus or its direct parent, or -1.
int32_t FocusedUnitIndex(WindowTemplate &window, HWND focus);

// Which units a focus list takes.
struct FocusScope {
    bool optionsOnly = false; // only option units under optionParent (arrow keys)
    HWND optionParent = nullptr;
    HWND container = nullptr; // only units inside this window, when set
};

// The visible, enabled tab stops of scope, ordered by tab-order word and, on equal words, by
// descending list index.
std::vector<FocusUnit> BuildFocusList(WindowTemplate &window, const FocusScope &scope);
// The index of the unit that Tab (forward) or Shift+Tab goes to from the unit at from, or -1
// when the focus stays.
int32_t NextFocusIndex(WindowTemplate &window, uint32_t from, bool forward,
                       const FocusScope &scope);
// The control that takes the window's first focus, or null.
CWnd *FirstFocusUnit(WindowTemplate &window);
