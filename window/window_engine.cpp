// LoadWindow in its steps, show-after-load with the nested loop of modal windows, unit
// re-creation, and the destruction notices that give the template back.
#include "window/window_engine.h"

#include <vector>

#include "runtime/program_events.h"
#include "runtime/runtime_app.h"
#include "runtime/wiring_routines.h"
#include "window/dpi_scale.h"
#include "window/event_dispatch.h"
#include "window/menu_builder.h"
#include "window/mouse_pointer.h"
#include "window/multi_page.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"
#include "window/window_engine_state.h"

namespace {

constexpr uint32_t kFirstControlId = 100;
constexpr uint32_t kControlIdStep = 10;
constexpr int kModalLoopMode = 1;
constexpr int32_t kCreatedEvent = 0;
constexpr int32_t kMovedEvent = 3;
constexpr int32_t kResizedEvent = 4;
constexpr int32_t kIdleEvent = 7;
constexpr int32_t kFocusGainedEvent = -7;

struct CreatedUnit {
    CWnd *object;
    uint32_t index;
    bool visible;
};

// The window unit of a loaded window, or null (also when record 0 is not a window unit).
CWinFormUnit *WindowUnitOf(WindowTemplate &window) {
    return dynamic_cast<CWinFormUnit *>(LiveWindowOf(window));
}

// The creation style bits from a record's UnitFlags and the type's flags.
uint32_t CreationStyle(uint32_t unitFlags, uint32_t typeFlags, bool keptWindow) {
    uint32_t style = 0;
    if ((unitFlags & kUnitDisabled) && !(typeFlags & kTypeNeverShown) && !keptWindow) {
        style |= WS_DISABLED;
    }
    if (unitFlags & kUnitTabStop) {
        style |= WS_TABSTOP;
    }
    return style;
}

// The record's geometry is in units; a unit is created in the pixels of dpi (its window's), and the
// window, whose frame only it knows, with dpi kUnitDpi converts its own.
CWnd *CreateUnitFromRecord(const UnitRecordView &record, const UnitTypeDescriptor *descriptor,
                           uint32_t style, HWND parent, uint32_t controlId, HMENU menu,
                           uint32_t windowId, uint32_t unitId, int dpi) {
    auto create =
        reinterpret_cast<UnitCreateOperation>(UnitOperationOf(descriptor, kOperationCreate));
    if (create == nullptr) {
        return nullptr;
    }
    const std::span<const uint8_t> block = record.PropertyBlock();
    UnitCreateArguments arguments = {};
    arguments.propertyBlock = block.empty() ? nullptr : block.data();
    arguments.propertyBlockSize = static_cast<uint32_t>(block.size());
    arguments.style = style;
    arguments.parent = parent;
    arguments.controlId = controlId;
    arguments.menu = menu;
    arguments.left = UnitsToPixels(record.Left(), dpi);
    arguments.top = UnitsToPixels(record.Top(), dpi);
    arguments.width = UnitsToPixels(record.Width(), dpi);
    arguments.height = UnitsToPixels(record.Height(), dpi);
    arguments.windowId = windowId;
    arguments.unitId = unitId;
    CWnd *unit = create(arguments);
    if (unit != nullptr && (unit->m_hWnd == nullptr || !IsWindow(unit->m_hWnd))) {
        return nullptr;
    }
    return unit;
}

// The platform window of the container named by a record's parent word, or the window.
HWND ParentWindowOf(WindowTemplate &window, const UnitRecordView &record, HWND windowHandle) {
    const uint32_t parentId = record.Parent();
    if (parentId == 0) {
        return windowHandle;
    }
    const int32_t parentIndex = window.IndexOfUnit(parentId);
    CWnd *parent = parentIndex > 0 ? LiveUnitAt(window, parentIndex) : nullptr;
    return parent != nullptr ? parent->m_hWnd : windowHandle;
}

// Record 1 on top; every later record directly below the nearest earlier one with its parent.
void SetZOrder(WindowTemplate &window) {
    for (uint32_t i = 1; i < window.UnitCount(); ++i) {
        CWnd *unit = LiveUnitAt(window, i);
        if (unit == nullptr) {
            continue;
        }
        const uint32_t parent = window.RecordAt(i).Parent();
        HWND insertAfter = HWND_TOP;
        for (uint32_t j = i - 1; j >= 1 && insertAfter == HWND_TOP; --j) {
            CWnd *earlier = LiveUnitAt(window, j);
            if (earlier != nullptr && window.RecordAt(j).Parent() == parent) {
                insertAfter = earlier->m_hWnd;
            }
        }
        SetWindowPos(unit->m_hWnd, insertAfter, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Multi-page containers: the children listed after the first 0 entry start hidden.
void HideLaterPages(WindowTemplate &window, std::vector<CreatedUnit> &created) {
    for (uint32_t i = 1; i < window.UnitCount(); ++i) {
        const UnitRecordView record = window.RecordAt(i);
        if (record.IsMenuItem()) {
            continue;
        }
        const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(record.Type());
        if (descriptor == nullptr || !(descriptor->flags & kTypeMultiPage)) {
            continue;
        }
        bool laterPage = false;
        for (uint32_t c = 0; c < record.ChildCount(); ++c) {
            const uint32_t child = record.Child(c);
            if (child == 0) {
                laterPage = true;
                continue;
            }
            const int32_t childIndex = window.IndexOfUnit(child);
            for (CreatedUnit &unit : created) {
                if (laterPage && static_cast<int32_t>(unit.index) == childIndex) {
                    unit.visible = false;
                }
            }
        }
    }
}

void SendToUnitsFromLast(WindowTemplate &window, UINT message) {
    for (uint32_t i = window.UnitCount(); i-- > 0;) {
        if (CWnd *unit = LiveUnitAt(window, i)) {
            SendMessageA(unit->m_hWnd, message, 0, 0);
        }
    }
}

// The unit whose control is focus or its nearest ancestor inside the window.
uint32_t UnitIdHoldingWindow(WindowTemplate &window, HWND focus) {
    for (HWND at = focus; at != nullptr; at = GetParent(at)) {
        for (uint32_t i = 0; i < window.UnitCount(); ++i) {
            CWnd *unit = LiveUnitAt(window, i);
            if (unit != nullptr && unit->m_hWnd == at) {
                return window.UnitIdAt(i);
            }
        }
    }
    return 0;
}

// Shows the window by its start position and announces the focus it held, once per window:
// whether the load shows it or its created handler did first.
void FirstShow(WindowTemplate &window) {
    CWinFormUnit *unit = WindowUnitOf(window);
    if (unit == nullptr || unit->shownFirst) {
        return;
    }
    unit->shownFirst = true;
    // A window that other means showed already announced the focus it got.
    const bool shownBefore = (GetWindowLongA(unit->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    HWND focusBefore = GetFocus();
    if (Runtime().programKind != 0) {
        unit->ShowAtStartPosition();
    } else {
        ShowWindow(unit->m_hWnd, SW_SHOW);
    }
    // A window or unit that got the focus while being shown raised its focus-gained event
    // itself; only a focus it already held before the show is announced here.
    HWND focus = GetFocus();
    if (!shownBefore && focus != nullptr && focus == focusBefore &&
        (focus == unit->m_hWnd || IsChild(unit->m_hWnd, focus))) {
        const uint32_t holder = UnitIdHoldingWindow(window, focus);
        if (holder == window.UnitIdAt(0)) {
            unit->RaiseFocusGained();
        } else {
            RaiseUnitEvent(window.WindowId(), holder, kFocusGainedEvent);
        }
    }
}

// A failed load destroys the accelerator table and a menu no window took.
bool FailLoad(WindowTemplate &window, const WindowMenu &built) {
    DestroyWindowMenu(built);
    window.DiscardPristineCopy();
    PumpAndResumeEvents();
    return false;
}

// Steps 6 to 14: creates the window and its units, parents, orders and shows them. False when a
// unit cannot be created; what was created stays.
bool CreateWindowAndUnits(WindowTemplate &window, bool keep, bool modal, HWND parent, HMENU menu,
                          std::vector<CreatedUnit> &created) {
    const uint32_t windowId = window.WindowId();
    const uint32_t count = window.UnitCount();
    HWND windowHandle = nullptr;
    uint32_t controlId = kFirstControlId;
    // The window first, then the units from the last record down to record 1.
    for (uint32_t step = 0; step < count; ++step) {
        const uint32_t index = step == 0 ? 0 : count - step;
        const UnitRecordView record = window.RecordAt(index);
        if (record.IsMenuItem()) {
            if (index == 0) {
                return false;
            }
            continue;
        }
        const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(record.Type());
        if (UnitOperationOf(descriptor, kOperationCreate) == nullptr) {
            return false;
        }
        const bool keptWindow = index == 0 && keep;
        bool visible = (record.Flags() & kUnitVisible) != 0;
        if (descriptor->flags & kTypeNeverShown) {
            visible = false;
        } else if (keptWindow) {
            visible = true;
        }
        const uint32_t style = CreationStyle(record.Flags(), descriptor->flags, keptWindow);
        CWnd *unit;
        if (index == 0) {
            const bool outerModalCreation = EngineState().modalCreation;
            EngineState().modalCreation = modal;
            unit = CreateUnitFromRecord(record, descriptor, style, parent, 0, menu, windowId,
                                        window.UnitIdAt(0), kUnitDpi);
            EngineState().modalCreation = outerModalCreation;
            auto *windowUnit = dynamic_cast<CWinFormUnit *>(unit);
            if (windowUnit == nullptr) {
                if (unit != nullptr) {
                    unit->DestroyWindow();
                }
                return false;
            }
            windowUnit->keep = keep;
            windowHandle = unit->m_hWnd;
        } else {
            unit = CreateUnitFromRecord(record, descriptor, style, windowHandle, controlId, nullptr,
                                        windowId, window.UnitIdAt(index), WindowDpi(windowHandle));
            controlId += kControlIdStep;
        }
        if (unit == nullptr) {
            return false;
        }
        window.RecordAt(index).SetLiveUnit(reinterpret_cast<uint32_t>(unit));
        created.push_back({unit, index, visible});
    }

    for (uint32_t i = 1; i < count; ++i) {
        if (CWnd *unit = LiveUnitAt(window, i)) {
            SetParent(unit->m_hWnd, ParentWindowOf(window, window.RecordAt(i), windowHandle));
        }
    }
    HideLaterPages(window, created);
    SetZOrder(window);
    for (uint32_t i = 0; i < count; ++i) {
        if (!window.RecordAt(i).IsMenuItem()) {
            RebuildLivePointer(window, i);
        }
    }
    SendToUnitsFromLast(window, kUnitLoadedMessage);
    SendMessageA(windowHandle, kWindowLayoutMessage, 0, 0);
    for (const CreatedUnit &unit : created) {
        if (unit.index != 0 && IsWindow(unit.object->m_hWnd)) {
            ShowWindow(unit.object->m_hWnd, unit.visible ? SW_SHOWNA : SW_HIDE);
        }
    }
    return true;
}

// Step 17: a modal window disables every other loaded top-level window and remembers its state.
void DisableOtherWindows(WindowTemplate &window, CWinFormUnit &unit) {
    unit.modal = true;
    WindowCollection *collection = Windows();
    for (uint32_t w = 0; w < collection->Count(); ++w) {
        WindowTemplate *other = collection->At(w);
        CWnd *otherWindow = other != &window ? LiveWindowOf(*other) : nullptr;
        if (otherWindow == nullptr || GetParent(otherWindow->m_hWnd) != nullptr) {
            continue;
        }
        unit.disabledByModal.push_back(
            {otherWindow->m_hWnd, IsWindowEnabled(otherWindow->m_hWnd) != FALSE});
        EnableWindow(otherWindow->m_hWnd, FALSE);
    }
}

} // namespace

bool LoadWindow(WindowTemplate *window, bool keep, bool modal, HWND parent) {
    if (window == nullptr || !window->RecordAt(0)) {
        return false;
    }
    if (!keep) {
        if (CWnd *loaded = LiveWindowOf(*window)) {
            if (IsIconic(loaded->m_hWnd)) {
                ShowWindow(loaded->m_hWnd, SW_RESTORE);
            } else {
                SetActiveWindow(loaded->m_hWnd);
            }
            return true;
        }
    }
    if (modal) {
        parent = nullptr;
    } else if (parent != nullptr && !IsWindow(parent)) {
        return false;
    }

    PumpAndSuppressEvents();
    window->KeepPristineCopy();
    const uint32_t windowId = window->WindowId();
    if (FindWindowTemplate(windowId) != window) {
        return FailLoad(*window, {});
    }
    const WindowMenu built = BuildWindowMenu(*window);
    std::vector<CreatedUnit> created;
    if (!CreateWindowAndUnits(*window, keep, modal, parent, built.menu, created)) {
        // The menu stays with a window that was created and took it.
        HWND taker = created.empty() ? nullptr : created.front().object->m_hWnd;
        const bool taken = taker != nullptr && IsWindow(taker) && GetMenu(taker) == built.menu;
        return FailLoad(*window, {taken ? nullptr : built.menu, built.accelerators});
    }
    if (CWinFormUnit *unit = WindowUnitOf(*window)) {
        unit->ReplaceAccelerators(built.accelerators);
    }
    PumpAndResumeEvents();

    HWND windowHandle = created.front().object->m_hWnd;
    for (int32_t event : {kCreatedEvent, kMovedEvent, kResizedEvent}) {
        if (!IsWindow(windowHandle)) {
            return true;
        }
        RaiseUnitEvent(windowId, window->UnitIdAt(0), event);
    }
    if (!IsWindow(windowHandle)) {
        return true;
    }
    if (created.front().visible) {
        FirstShow(*window);
    }
    CWinFormUnit *unit = WindowUnitOf(*window);
    if (unit == nullptr) {
        return true;
    }
    if (modal) {
        DisableOtherWindows(*window, *unit);
    }
    HWND focus = GetFocus();
    SendToUnitsFromLast(*window, kUnitsShownMessage);
    if (focus != nullptr && IsWindow(focus) && GetFocus() != focus) {
        SetFocus(focus);
    }
    if (IsWindow(windowHandle)) {
        unit->firstShowPending = true;
    }
    return true;
}

bool LoadWindowNonModal(uint32_t windowId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    return window != nullptr && LoadWindow(window, false, false, nullptr);
}

int32_t LoadAndShowWindow(uint32_t windowId, HWND parent, bool modal) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr || !LoadWindow(window, false, modal, parent)) {
        return -1;
    }
    if (window->RecordAt(0).Flags() & kUnitVisible) {
        ShowAfterLoad(windowId, false);
    }
    return 0;
}

void ShowAfterLoad(uint32_t windowId, bool show) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    CWinFormUnit *unit = window != nullptr ? WindowUnitOf(*window) : nullptr;
    if (unit == nullptr) {
        return;
    }
    if (!unit->firstShowPending) {
        // Before its load ends (a created handler showing the window), the first show is due.
        if (show && unit->shownFirst) {
            ShowWindow(unit->m_hWnd, SW_SHOW);
        } else if (show) {
            FirstShow(*window);
        }
        return;
    }
    unit->firstShowPending = false;
    if (show) {
        FirstShow(*window);
    }
    if (unit->modal) {
        WindowEngineState &state = EngineState();
        const uint32_t outerModal = state.modalWindowId;
        state.modalWindowId = windowId;
        Wiring().runMessageLoop(kModalLoopMode);
        state.modalWindowId = outerModal;
    }
}

bool RecreateUnit(uint32_t windowId, uint32_t index) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr || index == 0) {
        return false;
    }
    CWnd *old = LiveUnitAt(*window, index);
    if (old == nullptr) {
        return false;
    }
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(window->RecordAt(index).Type());
    auto save =
        reinterpret_cast<UnitSaveOperation>(UnitOperationOf(descriptor, kOperationSaveProperties));
    auto create =
        reinterpret_cast<UnitCreateOperation>(UnitOperationOf(descriptor, kOperationCreate));
    if (descriptor == nullptr || (descriptor->flags & kTypeNotRecreatable) || save == nullptr ||
        create == nullptr) {
        return false;
    }
    HGLOBAL saved = save(old);
    if (saved == nullptr) {
        return false;
    }

    HWND oldWindow = old->m_hWnd;
    HWND parent = GetParent(oldWindow);
    RECT rect;
    GetWindowRect(oldWindow, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    HWND focus = GetFocus();
    const bool hadFocus = focus == oldWindow || IsChild(oldWindow, focus);
    const LONG oldStyle = GetWindowLongA(oldWindow, GWL_STYLE);

    UnitCreateArguments arguments = {};
    arguments.propertyBlock = static_cast<const uint8_t *>(GlobalLock(saved));
    arguments.propertyBlockSize = static_cast<uint32_t>(GlobalSize(saved));
    arguments.style = oldStyle & (WS_DISABLED | WS_TABSTOP);
    arguments.parent = parent;
    arguments.controlId = static_cast<uint32_t>(GetDlgCtrlID(oldWindow));
    arguments.left = rect.left;
    arguments.top = rect.top;
    arguments.width = rect.right - rect.left;
    arguments.height = rect.bottom - rect.top;
    arguments.windowId = windowId;
    arguments.unitId = window->UnitIdAt(index);
    CWnd *fresh = create(arguments);
    GlobalUnlock(saved);
    GlobalFree(saved);
    if (fresh == nullptr || !IsWindow(fresh->m_hWnd)) {
        return false;
    }

    if (descriptor->flags & kTypeContainer) {
        // Children move over in their z-order: the bottom one first, each placed on top.
        for (HWND child = GetWindow(GetWindow(oldWindow, GW_CHILD), GW_HWNDLAST); child;) {
            HWND above = GetWindow(child, GW_HWNDPREV);
            SetParent(child, fresh->m_hWnd);
            child = above;
        }
    }
    window->RecordAt(index).SetLiveUnit(reinterpret_cast<uint32_t>(fresh));
    SetWindowPos(fresh->m_hWnd, oldWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(fresh->m_hWnd, kUnitLoadedMessage, 0, 0);
    SendMessageA(fresh->m_hWnd, kUnitsShownMessage, 0, 0);
    if (descriptor->flags & kTypeBarUnit) {
        if (CWnd *windowUnit = LiveWindowOf(*window)) {
            SendMessageA(windowUnit->m_hWnd, kWindowLayoutMessage, 0, 0);
        }
    }
    if (oldStyle & WS_VISIBLE) {
        ShowWindow(fresh->m_hWnd, SW_SHOWNA);
    }
    if (descriptor->flags & kTypeMultiPage) {
        SetCurrentPage(fresh->m_hWnd, CurrentPageOf(oldWindow));
    }

    WindowEngineState &state = EngineState();
    const bool outerRecreating = state.recreatingUnit;
    state.recreatingUnit = true;
    ::DestroyWindow(oldWindow);
    state.recreatingUnit = outerRecreating;
    if (hadFocus) {
        SetFocus(fresh->m_hWnd);
    } else if (focus != nullptr && IsWindow(focus) && GetFocus() != focus) {
        SetFocus(focus);
    }
    return true;
}

void NotifyUnitDestroyed(uint32_t windowId, uint32_t unitId) {
    WindowEngineState &state = EngineState();
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr || window->UnitCount() == 0) {
        return;
    }
    const bool isWindow = unitId == 0 || unitId == window->UnitIdAt(0);
    if (!isWindow) {
        if (state.recreatingUnit) {
            return;
        }
        const int32_t index = window->IndexOfUnit(unitId);
        if (index > 0 && !window->RecordAt(index).IsMenuItem()) {
            DestroyLivePointer(*window, index);
            window->RecordAt(index).SetLiveUnit(0);
        }
        return;
    }
    // The window is gone: the template comes back exactly as it was before the load. A failed
    // load dropped its copy; the live slots it wrote must not outlast their objects.
    if (window->HasPristineCopy()) {
        window->RestorePristineCopy();
    } else {
        for (uint32_t i = 0; i < window->UnitCount(); ++i) {
            if (!window->RecordAt(i).IsMenuItem()) {
                window->RecordAt(i).SetLiveUnit(0);
            }
        }
    }
    if (state.modalWindowId == windowId) {
        state.modalWindowId = 0;
    }
}

void NotifyUnitObjectDestroyed(uint32_t windowId, uint32_t unitId, const CWnd *object) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    const int32_t index = window != nullptr ? window->IndexOfUnit(unitId) : -1;
    if (index > 0 && !window->RecordAt(index).IsMenuItem() &&
        window->RecordAt(index).LiveUnit() != reinterpret_cast<uint32_t>(object)) {
        return;
    }
    NotifyUnitDestroyed(windowId, unitId);
}

void NotifyWindowGone(uint32_t windowId) {
    if (WindowTemplate *window = FindWindowTemplate(windowId)) {
        for (uint32_t i = 0; i < window->UnitCount(); ++i) {
            if (!window->RecordAt(i).IsMenuItem()) {
                DestroyLivePointer(*window, i);
            }
        }
    }
    NotifyUnitDestroyed(windowId, 0);
    if (!AnyLoadedWindowAlive() && Runtime().loopReached) {
        PostQuitMessage(0);
    }
}

bool AnyLoadedWindowAlive() {
    WindowCollection *collection = Windows();
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        if (IsWindowLoaded(*collection->At(i))) {
            return true;
        }
    }
    return false;
}

void PumpPendingMessages() {
    RuntimeApp &app = Runtime();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit message belongs to the loop that waits for it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!app.PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void PumpAndSuppressEvents() {
    PumpPendingMessages();
    HoldProgramEvents();
}

void PumpAndResumeEvents() {
    PumpPendingMessages();
    ReleaseProgramEvents();
}

bool RaiseWindowIdleEvents(uint32_t elapsedMilliseconds, GrowableBuffer &doneWindows) {
    WindowCollection *collection = Windows();
    bool wantsMore = false;
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        WindowTemplate &window = *collection->At(i);
        CWnd *live = LiveWindowOf(window);
        if (live == nullptr) {
            continue;
        }
        const uint32_t handle = reinterpret_cast<uint32_t>(live->m_hWnd);
        if (doneWindows.FindWord(handle, doneWindows.WordCount()) >= 0) {
            continue;
        }
        const EventOutcome outcome = RaiseUnitEvent(window.WindowId(), window.UnitIdAt(0),
                                                    kIdleEvent, 1, &elapsedMilliseconds);
        if (outcome.handled && outcome.hasResult && outcome.result != 0) {
            wantsMore = true;
        } else {
            doneWindows.AppendWord(handle);
        }
    }
    return wantsMore;
}
