// Focus order by tab-order words, the first focus and the unit that holds the focus.
#include "window/keyboard/focus_order.h"

#include "framework/window.h"
#include "window/window_collection.h"

bool ReadFocusUnit(WindowTemplate &window, uint32_t index, FocusUnit *unit) {
    UnitRecordView record = window.RecordAt(index);
    if (!record || record.IsMenuItem())
        return false;
    unit->index = index;
    unit->unitId = window.UnitIdAt(index);
    unit->unit = LiveUnitAt(window, index);
    unit->descriptor = FindUnitTypeDescriptor(record.Type());
    unit->typeFlags = unit->descriptor != nullptr ? unit->descriptor->flags : 0;
    unit->unitFlags = record.Flags();
    unit->tabOrder = record.TabOrder();
    return true;
}

int32_t FocusedUnitIndex(WindowTemplate &window, HWND focus) {
    if (focus == nullptr)
        return -1;
    const HWND parent = GetParent(focus);
    for (HWND candidate : {focus, parent})
        for (uint32_t i = 1; candidate != nullptr && i < window.UnitCount(); ++i) {
            CWnd *unit = LiveUnitAt(window, i);
            if (unit != nullptr && unit->m_hWnd == candidate)
                return static_cast<int32_t>(i);
        }
    return -1;
}

std::vector<FocusUnit> BuildFocusList(WindowTemplate &window, const FocusScope &scope) {
    std::vector<FocusUnit> ordered;
    for (uint32_t i = window.UnitCount(); i-- > 1;) {
        FocusUnit unit;
        if (!ReadFocusUnit(window, i, &unit) || unit.unit == nullptr)
            continue;
        const HWND control = unit.unit->m_hWnd;
        if (!IsWindowVisible(control) || !IsWindowEnabled(control) ||
            (unit.typeFlags & (kTypeNeverShown | kTypeNoTabStop)) ||
            !(unit.unitFlags & kUnitTabStop))
            continue;
        if (scope.optionsOnly &&
            (!(unit.typeFlags & kTypeOption) || GetParent(control) != scope.optionParent))
            continue;
        if (scope.container != nullptr && !IsChild(scope.container, control))
            continue;
        // After the last entry whose word is not greater than its own.
        auto at = ordered.end();
        while (at != ordered.begin() && (at - 1)->tabOrder > unit.tabOrder)
            --at;
        ordered.insert(at, unit);
    }
    return ordered;
}

int32_t NextFocusIndex(WindowTemplate &window, uint32_t from, bool forward,
                       const FocusScope &scope) {
    FocusUnit focused;
    if (!ReadFocusUnit(window, from, &focused))
        return -1;
    const std::vector<FocusUnit> ordered = BuildFocusList(window, scope);
    if (ordered.empty())
        return -1;
    const auto n = static_cast<int32_t>(ordered.size());
    if (focused.typeFlags & (kTypePassesFocus | kTypeFocusContainer)) {
        // Units that pass the focus on compare tab-order words.
        const int32_t word = (focused.typeFlags & kTypeFocusContainer) ? 0 : focused.tabOrder;
        if (forward) {
            for (const FocusUnit &entry : ordered)
                if (entry.tabOrder >= word)
                    return static_cast<int32_t>(entry.index);
        } else {
            for (int32_t i = n; i-- > 0;)
                if (ordered[i].tabOrder < word)
                    return static_cast<int32_t>(ordered[i].index);
        }
        return -1;
    }
    for (int32_t i = 0; i < n; ++i)
        if (ordered[i].index == from)
            return static_cast<int32_t>(ordered[(i + (forward ? 1 : n - 1)) % n].index);
    for (int32_t i = 0; i < n; ++i)
        if (ordered[i].index <= from)
            return static_cast<int32_t>(ordered[forward ? i : (i + n - 1) % n].index);
    return static_cast<int32_t>(ordered[forward ? 0 : n - 1].index);
}

CWnd *FirstFocusUnit(WindowTemplate &window) {
    const std::vector<FocusUnit> ordered = BuildFocusList(window, FocusScope{});
    return ordered.empty() ? nullptr : ordered.front().unit;
}
