// Mouse-pointer blocks to platform cursors and back.
#include "window/mouse_pointer.h"

#include <cstring>

#include "framework/window.h"
#include "runtime/windows_alive_wait.h"
#include "window/dpi_scale.h"
#include "window/window_collection.h"
#include "window/window_template.h"

namespace {

constexpr uint32_t kCursorIds[] = {0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                   32646, 32643, 32645, 32642, 32644, 32516, 32649};
constexpr uint32_t kPointerCount = sizeof(kCursorIds) / sizeof(kCursorIds[0]);
constexpr uint32_t kHandCursorId = 32649;
constexpr WORD kHandCursorResource = 0x408;
constexpr uint32_t kCursorFileFollows = 0xFFFFFFFF;

bool IsTableCursorId(uint32_t number) {
    for (uint32_t id : kCursorIds)
        if (id != 0 && id == number)
            return true;
    return false;
}

// Cursor bytes of a cursor file are its image data behind the directory; a file whose
// directory is malformed gives no cursor.
HCURSOR CursorFromFile(const uint8_t *bytes, uint32_t length) {
    struct DirectoryEntry {
        uint8_t width, height, colours, reserved;
        uint16_t hotX, hotY;
        uint32_t size, offset;
    };
    if (length < 6 + sizeof(DirectoryEntry))
        return nullptr;
    DirectoryEntry entry;
    std::memcpy(&entry, bytes + 6, sizeof(entry));
    if (entry.offset >= length || entry.size > length - entry.offset || entry.size < 40)
        return nullptr;
    // CreateIconFromResourceEx wants the hot spot in front of the cursor's bitmap.
    uint8_t *resource = new uint8_t[entry.size + 4];
    std::memcpy(resource, &entry.hotX, 2);
    std::memcpy(resource + 2, &entry.hotY, 2);
    std::memcpy(resource + 4, bytes + entry.offset, entry.size);
    HICON cursor = CreateIconFromResourceEx(resource, entry.size + 4, FALSE, 0x00030000, 0, 0,
                                            LR_DEFAULTCOLOR);
    delete[] resource;
    return reinterpret_cast<HCURSOR>(cursor);
}

// The runtime's own hand pointer at another DPI than the system's: a cursor of that DPI's size
// from the resource, the live pointer's own (destroyed with it).
HCURSOR HandCursorForDpi(int dpi) {
    return static_cast<HCURSOR>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorResource), IMAGE_CURSOR,
        MetricForDpi(SM_CXCURSOR, dpi), MetricForDpi(SM_CYCURSOR, dpi), LR_DEFAULTCOLOR));
}

HCURSOR CursorFromNumber(uint32_t number, int dpi) {
    const uint32_t id = PointerIndexToCursorId(number);
    if (id == 0)
        return nullptr;
    if (id == kHandCursorId) {
        HCURSOR own = dpi == SystemDpi() ? LoadCursorA(GetModuleHandleA(nullptr),
                                                       MAKEINTRESOURCEA(kHandCursorResource))
                                         : HandCursorForDpi(dpi);
        return own != nullptr ? own : LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    }
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
}

} // namespace

uint32_t PointerIndexToCursorId(uint32_t number) {
    if (number < kPointerCount)
        return kCursorIds[number];
    return IsTableCursorId(number) ? number : 0;
}

uint32_t CursorIdToPointerIndex(uint32_t number) {
    for (uint32_t i = 1; i < kPointerCount; ++i)
        if (kCursorIds[i] == number)
            return i;
    return number;
}

HCURSOR CursorFromPointerBlock(const uint8_t *bytes, uint32_t length, int dpi) {
    if (bytes == nullptr || length == 0)
        return nullptr;
    if (length < 4)
        return CursorFromNumber(bytes[0], dpi);
    uint32_t number;
    std::memcpy(&number, bytes, 4);
    if (number == kCursorFileFollows)
        return CursorFromFile(bytes + 4, length - 4);
    if (length > 10)
        if (HCURSOR fromFile = CursorFromFile(bytes, length))
            return fromFile;
    return CursorFromNumber(number, dpi);
}

void DestroyLivePointer(WindowTemplate &window, uint32_t index) {
    UnitRecordView record = window.RecordAt(index);
    if (!record || record.IsMenuItem()) {
        return;
    }
    // Shared system cursors are not destroyed; DestroyCursor refuses them anyway.
    if (auto cursor = reinterpret_cast<HCURSOR>(record.LivePointer())) {
        DestroyCursor(cursor);
    }
    record.SetLivePointer(0);
}

void RebuildLivePointer(WindowTemplate &window, uint32_t index) {
    DestroyLivePointer(window, index);
    UnitRecordView record = window.RecordAt(index);
    if (!record || record.IsMenuItem()) {
        return;
    }
    const std::span<const uint8_t> block = record.MousePointer();
    const CWnd *unit = LiveUnitAt(window, index);
    const int dpi = unit != nullptr ? WindowDpi(unit->m_hWnd) : SystemDpi();
    HCURSOR cursor = CursorFromPointerBlock(block.data(), static_cast<uint32_t>(block.size()), dpi);
    record.SetLivePointer(reinterpret_cast<uint32_t>(cursor));
}

HCURSOR ChoosePointer(WindowTemplate &window, HWND form, HWND target, int hitTest) {
    // Over a disabled or modal-blocked window the platform's refusal stays visible.
    if (hitTest == HTERROR || hitTest == HTNOWHERE)
        return nullptr;
    // While the program waits, the windows refuse input: say so over all of them.
    if (WindowsAliveWaitRunning() && hitTest == HTCLIENT)
        return BusyPointer();
    for (HWND at = target; at != nullptr; at = GetParent(at)) {
        if (at == form)
            return hitTest == HTCLIENT ? reinterpret_cast<HCURSOR>(window.RecordAt(0).LivePointer())
                                       : nullptr;
        for (uint32_t i = 1; i < window.UnitCount(); ++i) {
            const CWnd *unit = LiveUnitAt(window, i);
            if (unit != nullptr && unit->m_hWnd == at)
                return reinterpret_cast<HCURSOR>(window.RecordAt(i).LivePointer());
        }
    }
    return nullptr;
}
