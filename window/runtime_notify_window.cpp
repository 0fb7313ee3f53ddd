// RuntimeNotify for the window engine: each code reads its arguments and calls the engine.
#include "window/runtime_notify_window.h"

#include <string>

#include "framework/window.h"
#include "runtime/error_report.h"
#include "runtime/image_layout.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_notify.h"
#include "values/numeric_to_integer.h"
#include "values/value_blocks.h"
#include "window/event_dispatch.h"
#include "window/menu_builder.h"
#include "window/multi_page.h"
#include "window/unit_type.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"

namespace {

constexpr int32_t kVersionWord = 0x30005;
constexpr int32_t kLoadFailed = -1;

// RuntimeNotify 2005's record.
struct LoadWindowRecord {
    uint32_t windowId;
    CWnd *parent; // a framework window object, or null
    uint32_t modal;
};

// RuntimeNotify 2001's numeric value record.
struct NumericValueRecord {
    uint32_t value;
    uint32_t high;
    uint32_t type;
};

int32_t Word(const void *address) {
    return static_cast<int32_t>(reinterpret_cast<uint32_t>(address));
}

// A new Text copied from text as a program value; null for the empty text.
int32_t TextWord(const std::string &text) {
    return Word(NewText(text.data(), static_cast<uint32_t>(text.size())));
}

CWnd *FindLiveUnit(uint32_t windowId, uint32_t unitId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    const int32_t index = window != nullptr ? RecordIndexOf(*window, unitId) : -1;
    return index >= 0 ? LiveUnitAt(*window, static_cast<uint32_t>(index)) : nullptr;
}

bool IsLiveUnitWindow(HWND handle) {
    WindowCollection *collection = Windows();
    for (uint32_t w = 0; handle != nullptr && collection != nullptr && w < collection->Count();
         ++w) {
        WindowTemplate &window = *collection->At(w);
        if (!IsWindowLoaded(window)) {
            continue;
        }
        for (uint32_t i = 0; i < window.UnitCount(); ++i) {
            CWnd *unit = LiveUnitAt(window, i);
            if (unit != nullptr && unit->m_hWnd == handle) {
                return true;
            }
        }
    }
    return false;
}

int32_t ProgramIcons(HICON *pair) {
    LoadProgramIcons();
    if (pair != nullptr) {
        pair[0] = EngineState().programIcon;
        pair[1] = EngineState().smallProgramIcon;
    }
    return 0;
}

int32_t NewWindowObject(HWND handle) {
    auto *object = new CWnd;
    if (!object->Attach(handle)) {
        delete object;
        return 0;
    }
    return Word(object);
}

int32_t AttachWindowObject(HWND handle, CWnd *object) {
    if (object != nullptr && object->m_hWnd == nullptr &&
        CWnd::FromHandlePermanent(handle) == nullptr) {
        object->Attach(handle);
    }
    return 1;
}

int32_t LoadWindowFromRecord(const LoadWindowRecord *record) {
    if (record == nullptr) {
        return kLoadFailed;
    }
    HWND parent = record->parent != nullptr ? record->parent->m_hWnd : nullptr;
    return LoadAndShowWindow(record->windowId, parent, record->modal != 0);
}

int32_t RunningEvent(EventSource *pair) {
    const EventSource source = EngineState().eventSource;
    if (source.windowId == 0) {
        return 0;
    }
    if (pair != nullptr) {
        *pair = source;
    }
    return 1;
}

int32_t UnitTypeOf(uint32_t windowId, uint32_t unitId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    const int32_t index = window != nullptr ? RecordIndexOf(*window, unitId) : -1;
    return index >= 0 ? static_cast<int32_t>(window->RecordAt(index).Type()) : 0;
}

int32_t EventKind(uint32_t unitType) {
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(unitType);
    if (descriptor == nullptr) {
        return 0;
    }
    if (descriptor->flags & kTypeRaisesEvents) {
        return 2;
    }
    return (descriptor->flags & kTypeRaisesEventsToo) ? 1 : 0;
}

int32_t WindowHandleOf(uint32_t windowId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    CWnd *live = window != nullptr ? LiveWindowOf(*window) : nullptr;
    return live != nullptr ? Word(live->m_hWnd) : 0;
}

// Relays notify(8, type number - 1, argument) to the library that owns a library data type.
int32_t DescribeValueType(uint32_t typeCode, uint32_t argument) {
    const uint32_t library = typeCode >> 16;
    const uint32_t type = typeCode & 0xFFFF;
    const GrowableBuffer &libraries = Runtime().libraries;
    if (library == 0 || library > libraries.WordCount() || type == 0) {
        return 0;
    }
    const auto *record = reinterpret_cast<const LibraryRecord *>(libraries.WordAt(library - 1));
    if (record == nullptr || record->notify == nullptr) {
        return 0;
    }
    return record->notify(kLibraryNotifyTypeEvent, type - 1, argument);
}

// Marks the window's own record for the menu builder, which then keeps a menu bar even when no
// item shows, and rebuilds the window's menu.
int32_t MarkWindowMenu(uint32_t windowId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    UnitRecordView record = window != nullptr ? window->RecordAt(0) : UnitRecordView{};
    if (record && !record.IsMenuItem()) {
        record.SetFlags(record.Flags() | kWindowMenuMarked);
        RebuildWindowMenu(*window);
    }
    return 0;
}

int32_t RebuildMenuOf(uint32_t windowId) {
    if (WindowTemplate *window = FindWindowTemplate(windowId)) {
        RebuildWindowMenu(*window);
    }
    return 0;
}

} // namespace

int32_t WindowEngineNotify(int32_t code, uint32_t argument1, uint32_t argument2) {
    RuntimeApp &app = Runtime();
    switch (code) {
    case kNotifyProgramIcons:
        return ProgramIcons(reinterpret_cast<HICON *>(argument1));
    case kNotifyWindowCollection:
        return Word(Windows());
    case kNotifyUnitTypeDescriptor:
        return Word(FindUnitTypeDescriptor(argument1));
    case kNotifyAnswerOne:
        return 1;
    case kNotifyVersionWord:
        return kVersionWord;
    case kNotifyNewWindowObject:
        return NewWindowObject(reinterpret_cast<HWND>(argument1));
    case kNotifyDeleteObject:
        delete reinterpret_cast<CWnd *>(argument1);
        return 0;
    case kNotifyDetachWindowObject:
        return argument1 != 0 ? Word(reinterpret_cast<CWnd *>(argument1)->Detach()) : 0;
    case kNotifyWindowObjectHandle:
        return argument1 != 0 ? Word(reinterpret_cast<CWnd *>(argument1)->m_hWnd) : 0;
    case kNotifyAttachWindowObject:
        return AttachWindowObject(reinterpret_cast<HWND>(argument1),
                                  reinterpret_cast<CWnd *>(argument2));
    case kNotifyIsLiveUnitWindow:
        return IsLiveUnitWindow(reinterpret_cast<HWND>(argument1)) ? 1 : 0;
    case kNotifyUnitDestroyed:
        NotifyUnitDestroyed(argument1, argument2);
        return 0;
    case kNotifyNumericToInteger: {
        const auto *value = reinterpret_cast<const NumericValueRecord *>(argument1);
        return value != nullptr ? NumericToInteger(value->value, value->high, value->type) : 0;
    }
    case kNotifyAnswerZero:
        return 0;
    case kNotifyProgramDirectory:
        return TextWord(app.programDirectory);
    case kNotifyProgramFileName:
        return TextWord(app.executableName);
    case kNotifyLoadWindow:
        return LoadWindowFromRecord(reinterpret_cast<const LoadWindowRecord *>(argument1));
    case kNotifyFindUnit:
        return Word(FindLiveUnit(argument1, argument2));
    case kNotifyFindUnitOrReport:
        if (CWnd *unit = FindLiveUnit(argument1, argument2)) {
            return Word(unit);
        }
        ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
    case kNotifyFireEvent:
        return argument1 != 0
                   ? static_cast<int32_t>(FireEvent(reinterpret_cast<EventRecord *>(argument1)))
                   : 0;
    case kNotifyPumpAndSuppress:
        PumpAndSuppressEvents();
        return 0;
    case kNotifyPumpAndResume:
        PumpAndResumeEvents();
        return 0;
    case kNotifyRegisteredByte:
        return app.registeredObjects.ByteOf(reinterpret_cast<RegisteredObject *>(argument1));
    case kNotifyRegisterObject:
        app.registeredObjects.Register(reinterpret_cast<RegisteredObject *>(argument1),
                                       static_cast<uint8_t>(argument2));
        return 0;
    case kNotifyUnregisterObject:
        return app.registeredObjects.Unregister(reinterpret_cast<RegisteredObject *>(argument1))
                   ? 1
                   : 0;
    case kNotifyStopRegisteredObjects:
        app.registeredObjects.StopAndDeleteAll();
        return 0;
    case kNotifyRunningEvent:
        return RunningEvent(reinterpret_cast<EventSource *>(argument1));
    case kNotifyPumpMessages:
        PumpPendingMessages();
        return 0;
    case kNotifyUnitType:
        return UnitTypeOf(argument1, argument2);
    case kNotifyEventKind:
        return EventKind(argument1);
    case kNotifyFireTypedEvent:
        return argument1 != 0 ? static_cast<int32_t>(
                                    FireTypedEvent(reinterpret_cast<TypedEventRecord *>(argument1)))
                              : 0;
    case kNotifyWindowCount:
        return Windows() != nullptr ? static_cast<int32_t>(Windows()->Count()) : 0;
    case kNotifyWindowHandle:
        return WindowHandleOf(argument1);
    case kNotifyDescribeValueType:
        return DescribeValueType(argument1, argument2);
    case kNotifyMarkWindowMenu:
        return MarkWindowMenu(argument1);
    case kNotifyRebuildWindowMenu:
        return RebuildMenuOf(argument1);
    case kNotifyShowCurrentPage:
        return ShowCurrentPage(argument1, argument2);
    default:
        // 1003, 1006, 2015, 2016, 2019 to 2021, 2034, 2035 and 2038 serve pictures, sound,
        // notification icons, automation holders and menu-item descriptions, none of which this
        // program carries.
        return 0;
    }
}
