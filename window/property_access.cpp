// ReadUnitProperty and WriteUnitProperty: the common properties 0 to 7 on the record and the
// live control, the unit type's own properties through its operations, and the conversions.
#include "window/property_access.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/window.h"
#include "runtime/error_report.h"
#include "values/value_blocks.h"
#include "window/dpi_scale.h"
#include "window/font_property.h"
#include "window/menu_item_properties.h"
#include "window/mouse_pointer.h"
#include "window/multi_page.h"
#include "window/template_ids.h"
#include "window/window_collection.h"
#include "window/window_engine.h"

namespace {

enum CommonProperty : int32_t {
    kLeft = 0,
    kTop = 1,
    kWidth = 2,
    kHeight = 3,
    kTag = 4,
    kVisible = 5,
    kDisabled = 6,
    kMousePointer = 7,
    kFirstOwnProperty = 8,
};

constexpr uint32_t kPointerIndexCount = 15;
constexpr size_t kFontBytes = sizeof(LOGFONTA);
static_assert(kFontBytes == 60, "a logical font record is 60 bytes");

// Written values that need a copy (mouse pointers, fonts) live here until the next write.
std::vector<uint8_t> &Scratch() {
    static std::vector<uint8_t> scratch;
    return scratch;
}

bool IsByteData(uint16_t type) {
    return type == kPropertyPicture || type == kPropertyIcon || type == kPropertySound ||
           type == kPropertyBytes || type == kPropertyBytes2;
}

// A new ByteSet of the length bytes at address as a program value; null for none.
uint32_t ByteSetWord(uint32_t address, uint32_t length) {
    if (address == 0)
        return 0;
    return reinterpret_cast<uint32_t>(NewByteSet(reinterpret_cast<const void *>(address), length));
}

// A new Text copied from text as a program value; null for the empty text.
uint32_t TextWord(const char *text) {
    return reinterpret_cast<uint32_t>(NewText(text, TextByteLength(text)));
}

// The bytes of the ByteSet block as a property value: their address and count.
PropertyValue ByteSetValue(uint32_t block) {
    const auto *set = reinterpret_cast<const ByteSetHeader *>(block);
    if (set == nullptr)
        return {0, 0};
    return {reinterpret_cast<uint32_t>(ByteSetBytes(set)), ByteSetCount(set)};
}

struct FoundUnit {
    uint32_t windowId;
    WindowTemplate *window;
    uint32_t index;
    CWnd *live; // null when not live
    const UnitTypeDescriptor *descriptor;
    // The record; fetched anew after an edit that changes the record's length.
    UnitRecordView Record() const { return window->RecordAt(index); }
};

WindowTemplate &FindWindowOfUnit(uint32_t windowId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr) {
        ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
    }
    return *window;
}

// A UnitId that is not in the window's list is reported as RuntimeNotify 2007 reports a miss.
FoundUnit FindUnit(uint32_t windowId, uint32_t unitId) {
    WindowTemplate &window = FindWindowOfUnit(windowId);
    const int32_t index = RecordIndexOf(window, unitId);
    if (index < 0) {
        ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
    }
    const auto at = static_cast<uint32_t>(index);
    return {windowId, &window, at, LiveUnitAt(window, at),
            FindUnitTypeDescriptor(window.RecordAt(at).Type())};
}

// The control's rectangle in its parent's client coordinates (screen coordinates for a
// top-level or pop-up window).
RECT ControlRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    HWND parent = GetParent(control);
    if (parent != nullptr && !(GetWindowLongA(control, GWL_STYLE) & WS_POPUP))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// The control's rectangle as ControlRect gives it, in units.
RECT ControlRectInUnits(HWND control) {
    return UnitRectToUnits(control, ControlRect(control), WindowDpi(control));
}

uint64_t ReadCommonProperty(const FoundUnit &unit, int32_t index) {
    const UnitRecordView record = unit.Record();
    HWND control = unit.live != nullptr ? unit.live->m_hWnd : nullptr;
    switch (index) {
    case kLeft:
        return static_cast<uint32_t>(control ? ControlRectInUnits(control).left : record.Left());
    case kTop:
        return static_cast<uint32_t>(control ? ControlRectInUnits(control).top : record.Top());
    case kWidth: {
        if (!control) {
            return static_cast<uint32_t>(record.Width());
        }
        const RECT rect = ControlRectInUnits(control);
        return static_cast<uint32_t>(rect.right - rect.left);
    }
    case kHeight: {
        if (!control) {
            return static_cast<uint32_t>(record.Height());
        }
        const RECT rect = ControlRectInUnits(control);
        return static_cast<uint32_t>(rect.bottom - rect.top);
    }
    case kTag:
        return TextWord(record.Tag());
    case kVisible:
        return control ? IsWindowVisible(control) != FALSE : (record.Flags() & kUnitVisible) != 0;
    case kDisabled:
        return control ? IsWindowEnabled(control) == FALSE : (record.Flags() & kUnitDisabled) != 0;
    case kMousePointer: {
        const std::span<const uint8_t> block = record.MousePointer();
        return FromPropertyValue(kPropertyMousePointer, {reinterpret_cast<uint32_t>(block.data()),
                                                         static_cast<uint32_t>(block.size())});
    }
    default:
        return 0;
    }
}

int32_t ClampCoordinate(int32_t value) {
    return std::clamp(value, -kMaxCoordinate, kMaxCoordinate);
}

int32_t ClampExtent(int32_t value) {
    return std::clamp(value, 0, kMaxCoordinate);
}

void SetUnitFlag(const FoundUnit &unit, uint32_t flag, bool on) {
    UnitRecordView record = unit.Record();
    record.SetFlags(on ? (record.Flags() | flag) : (record.Flags() & ~flag));
}

// Whether a unit is listed on a page of a multi-page container other than its current page.
bool OnHiddenPage(const FoundUnit &unit) {
    const uint32_t parentId = unit.Record().Parent();
    const int32_t parentIndex = parentId != 0 ? unit.window->IndexOfUnit(parentId) : -1;
    if (parentIndex <= 0) {
        return false;
    }
    const UnitRecordView parent = unit.window->RecordAt(static_cast<uint32_t>(parentIndex));
    if (parent.IsMenuItem() || parent.Type() != kMultiPageUnitType) {
        return false;
    }
    CWnd *container = LiveUnitAt(*unit.window, static_cast<uint32_t>(parentIndex));
    // Pages count the 0 separators before a child.
    const int32_t currentPage = container != nullptr ? CurrentPageOf(container->m_hWnd) : 0;
    int32_t page = 0;
    const uint32_t unitId = unit.window->UnitIdAt(unit.index);
    for (uint32_t c = 0; c < parent.ChildCount(); ++c) {
        const uint32_t child = parent.Child(c);
        if (child == 0) {
            ++page;
        } else if (child == unitId) {
            return page != currentPage;
        }
    }
    return false;
}

void WriteCommonProperty(const FoundUnit &unit, int32_t index, uint32_t low, uint32_t high) {
    HWND control = unit.live != nullptr ? unit.live->m_hWnd : nullptr;
    switch (index) {
    case kLeft:
    case kTop: {
        const int32_t value = ClampCoordinate(static_cast<int32_t>(low));
        UnitRecordView record = unit.Record();
        if (index == kLeft) {
            record.SetLeft(value);
        } else {
            record.SetTop(value);
        }
        if (control) {
            const RECT rect = ControlRect(control);
            const int pixels = UnitsToPixels(value, WindowDpi(control));
            SetWindowPos(control, nullptr, index == kLeft ? pixels : rect.left,
                         index == kTop ? pixels : rect.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    }
    case kWidth:
    case kHeight: {
        const int32_t value = ClampExtent(static_cast<int32_t>(low));
        UnitRecordView record = unit.Record();
        if (index == kWidth) {
            record.SetWidth(value);
        } else {
            record.SetHeight(value);
        }
        if (control) {
            const RECT rect = ControlRect(control);
            const SIZE pixels =
                OuterSizeToPixels({value, value}, FrameStyleOf(control), WindowDpi(control));
            SetWindowPos(control, nullptr, 0, 0,
                         index == kWidth ? pixels.cx : rect.right - rect.left,
                         index == kHeight ? pixels.cy : rect.bottom - rect.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    }
    case kTag:
        if (!unit.window->ReplaceTag(unit.index, reinterpret_cast<const char *>(low))) {
            ReportMemoryFailure(static_cast<uint32_t>(unit.window->UnitListData().size()));
        }
        break;
    case kVisible:
        SetUnitFlag(unit, kUnitVisible, low != 0);
        if (!control) {
            break;
        }
        if (low == 0) {
            ShowWindow(control, SW_HIDE);
        } else if (unit.index == 0) {
            ShowAfterLoad(unit.windowId, true);
        } else if (!(unit.descriptor && (unit.descriptor->flags & kTypeNeverShown)) &&
                   !OnHiddenPage(unit)) {
            ShowWindow(control, SW_SHOWNA);
        }
        break;
    case kDisabled:
        SetUnitFlag(unit, kUnitDisabled, low != 0);
        if (control) {
            EnableWindow(control, low == 0);
        }
        break;
    case kMousePointer: {
        const PropertyValue value = ToPropertyValue(kPropertyMousePointer, low, high);
        DestroyLivePointer(*unit.window, unit.index);
        if (!unit.window->ReplaceMousePointer(
                unit.index, {reinterpret_cast<const uint8_t *>(value.low), value.high})) {
            ReportMemoryFailure(static_cast<uint32_t>(unit.window->UnitListData().size()));
        }
        if (control) {
            RebuildLivePointer(*unit.window, unit.index);
            POINT at;
            GetCursorPos(&at);
            SetCursorPos(at.x, at.y);
        }
        break;
    }
    default:
        break;
    }
}

// Fonts by sub-index start from the unit's current font.
PropertyValue FontFieldValue(CWnd *unit, UnitGetPropertyOperation get, int32_t ownIndex,
                             int32_t subIndex, uint32_t low) {
    PropertyValue current = {0, 0};
    get(unit, ownIndex, &current);
    LOGFONTA font;
    if (current.low != 0 && current.high == kFontBytes)
        std::memcpy(&font, reinterpret_cast<const void *>(current.low), kFontBytes);
    else
        DefaultGuiFont(&font);
    WriteFontField(&font, subIndex, low);
    Scratch().assign(reinterpret_cast<uint8_t *>(&font),
                     reinterpret_cast<uint8_t *>(&font) + kFontBytes);
    return {reinterpret_cast<uint32_t>(Scratch().data()), kFontBytes};
}

uint64_t ReadOwnProperty(CWnd *unit, const UnitTypeDescriptor *descriptor, int32_t ownIndex,
                         int32_t subIndex) {
    auto get = reinterpret_cast<UnitGetPropertyOperation>(
        UnitOperationOf(descriptor, kOperationGetProperty));
    if (get == nullptr)
        return 0;
    PropertyValue value = {0, 0};
    get(unit, ownIndex, &value);
    const uint16_t type = PropertyTypeOf(descriptor, ownIndex + kFirstOwnProperty);
    if (type == kPropertyFont && subIndex != kWholeFont) {
        if (!IsFontField(subIndex))
            return 0;
        LOGFONTA font;
        if (value.low != 0 && value.high == kFontBytes)
            std::memcpy(&font, reinterpret_cast<const void *>(value.low), kFontBytes);
        else
            DefaultGuiFont(&font);
        return ReadFontField(font, subIndex);
    }
    return FromPropertyValue(type, value);
}

// 1 when the unit must be re-created.
int32_t WriteOwnProperty(CWnd *unit, const UnitTypeDescriptor *descriptor, int32_t ownIndex,
                         int32_t subIndex, uint32_t low, uint32_t high) {
    auto set = reinterpret_cast<UnitSetPropertyOperation>(
        UnitOperationOf(descriptor, kOperationSetProperty));
    auto get = reinterpret_cast<UnitGetPropertyOperation>(
        UnitOperationOf(descriptor, kOperationGetProperty));
    if (set == nullptr)
        return 0;
    const uint16_t type = PropertyTypeOf(descriptor, ownIndex + kFirstOwnProperty);
    PropertyValue value;
    if (type == kPropertyFont && subIndex != kWholeFont) {
        // Only -1 hands over a font record; any other sub-index but a field's is ignored.
        if (!IsFontField(subIndex) || get == nullptr)
            return 0;
        value = FontFieldValue(unit, get, ownIndex, subIndex, low);
    } else {
        value = ToPropertyValue(type, low, high);
    }
    return set(unit, ownIndex, value);
}

} // namespace

PropertyValue ToPropertyValue(uint16_t type, uint32_t low, uint32_t high) {
    switch (type) {
    case kPropertyInteger:
    case kPropertyInteger2:
    case kPropertyColour:
    case kPropertyColour2:
    case kPropertyColour3:
        return {low, 0};
    case kPropertyDouble:
    case kPropertyDateTime:
        return {low, high};
    case kPropertyLogical:
        return {low != 0 ? 1u : 0u, 0};
    case kPropertyPickIndex:
        return {static_cast<int32_t>(low) < 0 ? 0u : low, 0};
    case kPropertyMousePointer: {
        PropertyValue value = ByteSetValue(low);
        if (value.high >= 4) {
            Scratch().assign(reinterpret_cast<const uint8_t *>(value.low),
                             reinterpret_cast<const uint8_t *>(value.low) + value.high);
            uint32_t number;
            std::memcpy(&number, Scratch().data(), 4);
            if (number < kPointerIndexCount)
                number = PointerIndexToCursorId(number);
            std::memcpy(Scratch().data(), &number, 4);
            value.low = reinterpret_cast<uint32_t>(Scratch().data());
        }
        return value;
    }
    case kPropertyFont: {
        LOGFONTA font;
        if (low == 0)
            return {0, 0};
        FontFromRecord(reinterpret_cast<const ProgramFontRecord *>(low), &font);
        Scratch().assign(reinterpret_cast<uint8_t *>(&font),
                         reinterpret_cast<uint8_t *>(&font) + kFontBytes);
        return {reinterpret_cast<uint32_t>(Scratch().data()), kFontBytes};
    }
    default:
        if (IsByteData(type))
            return ByteSetValue(low);
        return {low != 0 ? low : reinterpret_cast<uint32_t>(""), 0};
    }
}

uint64_t FromPropertyValue(uint16_t type, const PropertyValue &value) {
    switch (type) {
    case kPropertyInteger:
    case kPropertyInteger2:
    case kPropertyPickIndex:
    case kPropertyColour:
    case kPropertyColour2:
    case kPropertyColour3:
        return value.low;
    case kPropertyDouble:
    case kPropertyDateTime:
        return (static_cast<uint64_t>(value.high) << 32) | value.low;
    case kPropertyLogical:
        return value.low == 1 ? 1 : 0;
    case kPropertyMousePointer: {
        if (value.low == 0 || value.high < 4)
            return ByteSetWord(value.low, value.high);
        // The pointer number leads the data; the program's value holds its index. The data may
        // lie in the scratch copy a read made, so it is converted in a copy of its own.
        const auto *bytes = reinterpret_cast<const uint8_t *>(value.low);
        std::vector<uint8_t> converted(bytes, bytes + value.high);
        uint32_t number;
        std::memcpy(&number, converted.data(), 4);
        number = CursorIdToPointerIndex(number);
        std::memcpy(converted.data(), &number, 4);
        return ByteSetWord(reinterpret_cast<uint32_t>(converted.data()), value.high);
    }
    case kPropertyFont: {
        if (value.low == 0 || value.high != kFontBytes)
            return 0;
        LOGFONTA font;
        std::memcpy(&font, reinterpret_cast<const void *>(value.low), kFontBytes);
        return reinterpret_cast<uint32_t>(NewFontRecord(font));
    }
    default:
        if (IsByteData(type))
            return ByteSetWord(value.low, value.high);
        return TextWord(reinterpret_cast<const char *>(value.low));
    }
}

extern "C" uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                     int32_t subIndex) {
    if (IsMenuItemId(unitId)) {
        return ReadMenuItemProperty(FindWindowOfUnit(windowId), unitId, index);
    }
    const FoundUnit unit = FindUnit(windowId, unitId);
    if (index < kFirstOwnProperty) {
        return ReadCommonProperty(unit, index);
    }
    if (unit.live == nullptr) {
        ReportRuntimeError("指定窗口尚未载入", 0);
    }
    return ReadOwnProperty(unit.live, unit.descriptor, index - kFirstOwnProperty, subIndex);
}

extern "C" void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                  int32_t subIndex, uint32_t low, uint32_t high) {
    if (IsMenuItemId(unitId)) {
        WriteMenuItemProperty(FindWindowOfUnit(windowId), unitId, index, low);
        return;
    }
    const FoundUnit unit = FindUnit(windowId, unitId);
    if (index < kFirstOwnProperty) {
        WriteCommonProperty(unit, index, low, high);
        return;
    }
    if (unit.live == nullptr) {
        ReportRuntimeError("指定窗口尚未载入", 0);
    }
    const int32_t recreate = WriteOwnProperty(unit.live, unit.descriptor, index - kFirstOwnProperty,
                                              subIndex, low, high);
    if (recreate == 1 && unit.index != 0 && IsWindow(unit.live->m_hWnd)) {
        PumpAndSuppressEvents();
        RecreateUnit(windowId, unit.index);
        PumpAndResumeEvents();
    }
}

extern "C" uint64_t ReadTypeProperty(uint32_t typeCode, CWnd *unit, int32_t index,
                                     uint32_t selector) {
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(typeCode);
    if (descriptor == nullptr || unit == nullptr)
        return 0;
    return ReadOwnProperty(unit, descriptor, index, static_cast<int32_t>(selector));
}

extern "C" void WriteTypeProperty(uint32_t typeCode, CWnd *unit, int32_t index, uint32_t low,
                                  uint32_t high) {
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(typeCode);
    if (descriptor != nullptr && unit != nullptr)
        WriteOwnProperty(unit, descriptor, index, -1, low, high);
}
