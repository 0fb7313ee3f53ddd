// LoadWindow in its steps, show-after-load with the nested loop of modal windows, unit
// re-creation and the destruction notices that restore the template.
#include "window/window_engine.h"

#include <utility>

#include "runtime/error_report.h"
#include "window/engine_state.h"
#include "window/mouse_pointer.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

constexpr uint32_t kFirstControlId = 100;
constexpr uint32_t kControlIdStep = 10;
constexpr uint32_t kDisabledStyle = WS_DISABLED;
constexpr uint32_t kTabStopStyle = WS_TABSTOP;
constexpr int32_t kCreatedEvent = 0;
constexpr int32_t kMovedEvent = 3;
constexpr int32_t kResizedEvent = 4;
constexpr int32_t kFocusGainedEvent = -7;

struct CreatedUnit {
    CWnd *object;
    uint32_t index;
    bool visible;
};

WindowObject *FindWindowObject(uint32_t windowId) {
    WindowCollection *collection = Engine().collection;
    return collection != nullptr ? collection->Find(windowId) : nullptr;
}

// The creation style bits from a record's UnitFlags and the type's flags.
uint32_t CreationStyle(uint32_t unitFlags, uint32_t typeFlags, bool keptWindow) {
    uint32_t style = 0;
    if ((unitFlags & kUnitFlagDisabled) && !(typeFlags & kTypeNeverShown) && !keptWindow)
        style |= kDisabledStyle;
    if (unitFlags & kUnitFlagTabStop)
        style |= kTabStopStyle;
    return style;
}

CWnd *CreateUnitFromRecord(const UnitRecordLayout &layout, const UnitTypeDescriptor *descriptor,
                           uint32_t style, HWND parent, uint32_t controlId, uint32_t windowId,
                           uint32_t unitId) {
    auto create =
        reinterpret_cast<UnitCreateOperation>(UnitOperationOf(descriptor, kOperationCreate));
    if (create == nullptr)
        return nullptr;
    UnitCreateArguments arguments = {};
    arguments.propertyBlock =
        layout.propertyBlockLength > 0 ? layout.body + layout.propertyBlockAt : nullptr;
    arguments.propertyBlockSize = layout.propertyBlockLength;
    arguments.style = style;
    arguments.parent = parent;
    arguments.controlId = controlId;
    arguments.left = static_cast<int32_t>(ReadFixedWord(layout, kLeftOffset));
    arguments.top = static_cast<int32_t>(ReadFixedWord(layout, kTopOffset));
    arguments.width = static_cast<int32_t>(ReadFixedWord(layout, kWidthOffset));
    arguments.height = static_cast<int32_t>(ReadFixedWord(layout, kHeightOffset));
    arguments.windowId = windowId;
    arguments.unitId = unitId;
    CWnd *unit = create(arguments);
    if (unit != nullptr && (unit->m_hWnd == nullptr || !IsWindow(unit->m_hWnd)))
        return nullptr;
    return unit;
}

// The platform window of the container named by a record's parent word, or the window.
HWND ParentWindowOf(const UnitList &list, const UnitRecordLayout &layout, HWND window) {
    const uint32_t parentId = ReadFixedWord(layout, kParentOffset);
    if (parentId == 0)
        return window;
    const int32_t parentIndex = FindUnitIndex(list, parentId);
    CWnd *parent = parentIndex > 0 ? LiveUnitAt(list, parentIndex) : nullptr;
    return parent != nullptr ? parent->m_hWnd : window;
}

void SetZOrder(const UnitList &list) {
    for (uint32_t i = 1; i < list.count; ++i) {
        CWnd *unit = LiveUnitAt(list, i);
        UnitRecordLayout layout;
        if (unit == nullptr || !ParseUnitRecord(list, i, &layout))
            continue;
        HWND insertAfter = HWND_TOP;
        const uint32_t parent = ReadFixedWord(layout, kParentOffset);
        for (uint32_t j = i - 1; j >= 1 && insertAfter == HWND_TOP; --j) {
            UnitRecordLayout earlier;
            CWnd *earlierUnit = LiveUnitAt(list, j);
            if (earlierUnit != nullptr && ParseUnitRecord(list, j, &earlier) &&
                ReadFixedWord(earlier, kParentOffset) == parent)
                insertAfter = earlierUnit->m_hWnd;
        }
        SetWindowPos(unit->m_hWnd, insertAfter, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Multi-page containers: children listed after the first 0 entry start hidden.
void HideLaterPages(const UnitList &list, std::vector<CreatedUnit> &created) {
    for (uint32_t i = 1; i < list.count; ++i) {
        UnitRecordLayout layout;
        if (IsMenuItemId(UnitIdAt(list, i)) || !ParseUnitRecord(list, i, &layout))
            continue;
        const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(ReadRecordWord(layout, 0));
        if (descriptor == nullptr || !(descriptor->flags & kTypeMultiPage))
            continue;
        bool laterPage = false;
        for (uint32_t c = 0; c < layout.childCount; ++c) {
            const uint32_t child = ReadFixedWord(layout, kChildrenOffset + 4 * c);
            if (child == 0) {
                laterPage = true;
                continue;
            }
            const int32_t childIndex = FindUnitIndex(list, child);
            for (CreatedUnit &unit : created)
                if (laterPage && static_cast<int32_t>(unit.index) == childIndex)
                    unit.visible = false;
        }
    }
}

void SendToUnitsFromLast(const UnitList &list, UINT message) {
    for (uint32_t i = list.count; i-- > 0;)
        if (CWnd *unit = LiveUnitAt(list, i))
            SendMessageA(unit->m_hWnd, message, 0, 0);
}

// The unit whose control is window or one of its ancestors inside the window.
uint32_t UnitIdHoldingWindow(const UnitList &list, HWND focus) {
    for (HWND at = focus; at != nullptr; at = GetParent(at)) {
        for (uint32_t i = 0; i < list.count; ++i) {
            CWnd *unit = LiveUnitAt(list, i);
            if (unit != nullptr && unit->m_hWnd == at)
                return UnitIdAt(list, i);
        }
    }
    return 0;
}

void FirstShow(uint32_t windowId, WindowObject *object) {
    auto *window = static_cast<CWinFormUnit *>(LiveWindowOf(*object));
    if (window == nullptr)
        return;
    if (Engine().programKind != 0)
        window->ShowAtStartPosition();
    else
        ShowWindow(window->m_hWnd, SW_SHOW);
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == window->m_hWnd || IsChild(window->m_hWnd, focus))) {
        const uint32_t unitId = UnitIdHoldingWindow(object->units, focus);
        RaiseUnitEvent(windowId, unitId, kFocusGainedEvent);
    }
}

// Mode 1 of the message loop: runs until the modal-window field is cleared or the quit message
// arrives (which is posted again for the outer loop).
void RunEngineNestedLoop() {
    MSG message;
    while (Engine().modalWindow != 0) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0)
            return;
        if (!PreTranslateThroughParents(&message, nullptr)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void FailLoad(WindowObject *object, bool suppressed) {
    object->pristine.data.Free();
    object->pristine.count = 0;
    if (suppressed)
        PumpAndResumeEvents();
}

} // namespace

bool LoadWindow(WindowObject *object, bool keep, bool modal, HWND parent) {
    WindowEngineState &engine = Engine();
    UnitRecordLayout windowRecord;
    if (object == nullptr || !ParseUnitRecord(object->units, 0, &windowRecord))
        return false;
    if (!keep) {
        if (CWnd *loaded = LiveWindowOf(*object)) {
            if (IsIconic(loaded->m_hWnd))
                ShowWindow(loaded->m_hWnd, SW_RESTORE);
            else
                SetActiveWindow(loaded->m_hWnd);
            return true;
        }
    }
    if (modal)
        parent = nullptr;
    else if (parent != nullptr && !IsWindow(parent))
        return false;

    PumpAndSuppressEvents();
    if (!CopyUnitList(object->units, object->pristine)) {
        FailLoad(object, true);
        return false;
    }
    const uint32_t windowId = engine.collection ? engine.collection->IdOf(object) : 0;
    if (windowId == 0) {
        FailLoad(object, true);
        return false;
    }

    // Creation: the window first, then the units from the last record down to record 1.
    UnitList &list = object->units;
    std::vector<CreatedUnit> created;
    HWND windowHandle = nullptr;
    uint32_t controlId = kFirstControlId;
    for (uint32_t step = 0; step < list.count; ++step) {
        const uint32_t index = step == 0 ? 0 : list.count - step;
        const uint32_t unitId = UnitIdAt(list, index);
        UnitRecordLayout layout;
        if (IsMenuItemId(unitId))
            continue;
        if (!ParseUnitRecord(list, index, &layout)) {
            FailLoad(object, true);
            return false;
        }
        const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(ReadRecordWord(layout, 0));
        if (descriptor == nullptr || UnitOperationOf(descriptor, kOperationCreate) == nullptr) {
            FailLoad(object, true);
            return false;
        }
        const uint32_t unitFlags = ReadRecordWord(layout, layout.flagsAt);
        const bool keptWindow = index == 0 && keep;
        bool visible = (unitFlags & kUnitFlagVisible) != 0;
        if (descriptor->flags & kTypeNeverShown)
            visible = false;
        else if (keptWindow)
            visible = true;
        const uint32_t style = CreationStyle(unitFlags, descriptor->flags, keptWindow);
        CWnd *unit;
        if (index == 0) {
            const bool outerModalCreation = engine.modalCreation;
            engine.modalCreation = modal;
            unit = CreateUnitFromRecord(layout, descriptor, style, parent, 0, windowId, unitId);
            engine.modalCreation = outerModalCreation;
            if (unit != nullptr) {
                windowHandle = unit->m_hWnd;
                static_cast<CWinFormUnit *>(unit)->keep = keep;
            }
        } else {
            unit = CreateUnitFromRecord(layout, descriptor, style, windowHandle, controlId,
                                        windowId, unitId);
            controlId += kControlIdStep;
        }
        if (unit == nullptr) {
            FailLoad(object, true);
            return false;
        }
        // The creation of this unit may have moved the list data: parse again before writing.
        ParseUnitRecord(list, index, &layout);
        WriteFixedWord(layout, kLiveUnitOffset, reinterpret_cast<uint32_t>(unit));
        created.push_back({unit, index, visible});
    }

    // Parenting, z-order and pointers.
    for (uint32_t i = 1; i < list.count; ++i) {
        UnitRecordLayout layout;
        CWnd *unit = LiveUnitAt(list, i);
        if (unit != nullptr && ParseUnitRecord(list, i, &layout))
            SetParent(unit->m_hWnd, ParentWindowOf(list, layout, windowHandle));
    }
    HideLaterPages(list, created);
    SetZOrder(list);
    for (uint32_t i = 0; i < list.count; ++i)
        if (!IsMenuItemId(UnitIdAt(list, i)))
            RebuildLivePointer(list, i);

    SendToUnitsFromLast(list, kUnitLoadedMessage);
    SendMessageA(windowHandle, kWindowLayoutMessage, 0, 0);
    for (const CreatedUnit &unit : created) {
        if (unit.index == 0 || !IsWindow(unit.object->m_hWnd))
            continue;
        ShowWindow(unit.object->m_hWnd, unit.visible ? SW_SHOWNA : SW_HIDE);
    }
    PumpAndResumeEvents();

    const uint32_t ownUnitId = UnitIdAt(list, 0);
    for (int32_t event : {kCreatedEvent, kMovedEvent, kResizedEvent}) {
        if (!IsWindow(windowHandle))
            return true;
        RaiseUnitEvent(windowId, ownUnitId, event);
    }
    if (!IsWindow(windowHandle))
        return true;
    if (created.front().visible)
        FirstShow(windowId, object);
    if (!IsWindow(windowHandle))
        return true;
    if (modal) {
        auto *window = static_cast<CWinFormUnit *>(LiveWindowOf(*object));
        window->modal = true;
        for (uint32_t w = 0; w < engine.collection->Count(); ++w) {
            WindowObject *other = engine.collection->At(w);
            CWnd *otherWindow = other != object ? LiveWindowOf(*other) : nullptr;
            if (otherWindow == nullptr || GetParent(otherWindow->m_hWnd) != nullptr)
                continue;
            window->disabledByModal.push_back(
                {otherWindow->m_hWnd, IsWindowEnabled(otherWindow->m_hWnd) != FALSE});
            EnableWindow(otherWindow->m_hWnd, FALSE);
        }
    }
    HWND focus = GetFocus();
    SendToUnitsFromLast(list, kUnitsShownMessage);
    if (focus != nullptr && IsWindow(focus) && GetFocus() != focus)
        SetFocus(focus);
    if (IsWindow(windowHandle))
        object->firstShowPending = true;
    return true;
}

void LoadStartWindow(uint32_t windowId) {
    WindowObject *object = FindWindowObject(windowId);
    if (object == nullptr || !LoadWindow(object, false, false, nullptr))
        ReportRuntimeError("载入启动窗口失败", 0);
}

int32_t LoadAndShowWindow(uint32_t windowId, HWND parent, bool modal) {
    WindowObject *object = FindWindowObject(windowId);
    if (object == nullptr || !LoadWindow(object, false, modal, parent))
        return -1;
    UnitRecordLayout layout;
    if (ParseUnitRecord(object->units, 0, &layout) &&
        (ReadRecordWord(layout, layout.flagsAt) & kUnitFlagVisible))
        ShowAfterLoad(windowId, false);
    return 0;
}

void ShowAfterLoad(uint32_t windowId, bool show) {
    WindowObject *object = FindWindowObject(windowId);
    CWnd *window = object != nullptr ? LiveWindowOf(*object) : nullptr;
    if (window == nullptr)
        return;
    if (!object->firstShowPending) {
        if (show)
            ShowWindow(window->m_hWnd, SW_SHOW);
        return;
    }
    object->firstShowPending = false;
    if (show)
        FirstShow(windowId, object);
    if (static_cast<CWinFormUnit *>(window)->modal) {
        WindowEngineState &engine = Engine();
        const uint32_t outerModal = engine.modalWindow;
        engine.modalWindow = windowId;
        if (engine.runNestedLoop != nullptr)
            engine.runNestedLoop();
        else
            RunEngineNestedLoop();
        engine.modalWindow = outerModal;
    }
}

bool RecreateUnit(uint32_t windowId, uint32_t index) {
    WindowEngineState &engine = Engine();
    WindowObject *object = FindWindowObject(windowId);
    if (object == nullptr || index == 0)
        return false;
    UnitList &list = object->units;
    auto *old = static_cast<CUnitWnd *>(LiveUnitAt(list, index));
    UnitRecordLayout layout;
    if (old == nullptr || !ParseUnitRecord(list, index, &layout))
        return false;
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(ReadRecordWord(layout, 0));
    auto save =
        reinterpret_cast<UnitSaveOperation>(UnitOperationOf(descriptor, kOperationSaveProperties));
    auto create =
        reinterpret_cast<UnitCreateOperation>(UnitOperationOf(descriptor, kOperationCreate));
    if (descriptor == nullptr || (descriptor->flags & kTypeNotRecreatable) || save == nullptr ||
        create == nullptr)
        return false;
    HGLOBAL saved = save(old);
    if (saved == nullptr)
        return false;

    HWND oldWindow = old->m_hWnd;
    HWND parent = GetParent(oldWindow);
    RECT rect;
    GetWindowRect(oldWindow, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    const bool hadFocus = GetFocus() == oldWindow || IsChild(oldWindow, GetFocus());
    const LONG oldStyle = GetWindowLongA(oldWindow, GWL_STYLE);

    UnitCreateArguments arguments = {};
    arguments.propertyBlock = static_cast<const uint8_t *>(GlobalLock(saved));
    arguments.propertyBlockSize = static_cast<uint32_t>(GlobalSize(saved));
    arguments.style = (oldStyle & WS_DISABLED) | (oldStyle & WS_TABSTOP);
    arguments.parent = parent;
    arguments.controlId = static_cast<uint32_t>(GetDlgCtrlID(oldWindow));
    arguments.left = rect.left;
    arguments.top = rect.top;
    arguments.width = rect.right - rect.left;
    arguments.height = rect.bottom - rect.top;
    arguments.windowId = windowId;
    arguments.unitId = UnitIdAt(list, index);
    CWnd *fresh = create(arguments);
    GlobalUnlock(saved);
    GlobalFree(saved);
    if (fresh == nullptr || !IsWindow(fresh->m_hWnd))
        return false;

    if (descriptor->flags & kTypeContainer) {
        // Children move over in their z-order: the bottom one first, each placed on top.
        for (HWND child = GetWindow(GetWindow(oldWindow, GW_CHILD), GW_HWNDLAST); child;) {
            HWND above = GetWindow(child, GW_HWNDPREV);
            SetParent(child, fresh->m_hWnd);
            child = above;
        }
    }
    ParseUnitRecord(list, index, &layout);
    WriteFixedWord(layout, kLiveUnitOffset, reinterpret_cast<uint32_t>(fresh));
    SetWindowPos(fresh->m_hWnd, oldWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(fresh->m_hWnd, kUnitLoadedMessage, 0, 0);
    SendMessageA(fresh->m_hWnd, kUnitsShownMessage, 0, 0);
    if (descriptor->flags & kTypeBarUnit)
        if (CWnd *window = LiveWindowOf(*object))
            SendMessageA(window->m_hWnd, kWindowLayoutMessage, 0, 0);
    if (oldStyle & WS_VISIBLE)
        ShowWindow(fresh->m_hWnd, SW_SHOWNA);

    const bool outerRecreating = engine.recreating;
    engine.recreating = true;
    ::DestroyWindow(oldWindow);
    engine.recreating = outerRecreating;
    if (hadFocus)
        SetFocus(fresh->m_hWnd);
    return true;
}

void NotifyUnitDestroyed(uint32_t windowId, uint32_t unitId) {
    WindowEngineState &engine = Engine();
    WindowObject *object = FindWindowObject(windowId);
    if (object == nullptr)
        return;
    UnitList &list = object->units;
    const bool isWindow = unitId == 0 || unitId == UnitIdAt(list, 0);
    if (!isWindow) {
        if (engine.recreating)
            return;
        const int32_t index = FindUnitIndex(list, unitId);
        if (index > 0) {
            DestroyLivePointer(list, index);
            UnitRecordLayout layout;
            if (ParseUnitRecord(list, index, &layout))
                WriteFixedWord(layout, kLiveUnitOffset, 0);
        }
        return;
    }
    // The window is gone: the template comes back exactly as it was before the load.
    if (object->pristine.count != 0 || object->pristine.data.Size() != 0) {
        std::swap(object->units.count, object->pristine.count);
        object->units.data.Swap(object->pristine.data);
        object->pristine.data.Free();
        object->pristine.count = 0;
    }
    object->firstShowPending = false;
    if (engine.modalWindow == windowId)
        engine.modalWindow = 0;
}

bool AnyWindowLoaded() {
    WindowCollection *collection = Engine().collection;
    if (collection == nullptr)
        return false;
    for (uint32_t i = 0; i < collection->Count(); ++i)
        if (IsWindowLoaded(*collection->At(i)))
            return true;
    return false;
}

void PumpPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit message belongs to the loop that waits for it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!PreTranslateThroughParents(&message, nullptr)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void PumpAndSuppressEvents() {
    PumpPendingMessages();
    ++Engine().eventSuppressionCount;
}

void PumpAndResumeEvents() {
    PumpPendingMessages();
    if (Engine().eventSuppressionCount > 0)
        --Engine().eventSuppressionCount;
}

bool RaiseIdleEvents(uint32_t elapsedMilliseconds, std::vector<HWND> &done) {
    constexpr int32_t kIdleEvent = 7;
    WindowCollection *collection = Engine().collection;
    bool wantsMore = false;
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        CWnd *window = LiveWindowOf(*collection->At(i));
        if (window == nullptr)
            continue;
        HWND handle = window->m_hWnd;
        bool isDone = false;
        for (HWND d : done)
            isDone = isDone || d == handle;
        if (isDone)
            continue;
        const EventOutcome outcome =
            RaiseUnitEvent(collection->IdAt(i), UnitIdAt(collection->At(i)->units, 0), kIdleEvent,
                           1, &elapsedMilliseconds);
        if (outcome.handled && outcome.hasResult && outcome.result != 0)
            wantsMore = true;
        else
            done.push_back(handle);
    }
    return wantsMore;
}
