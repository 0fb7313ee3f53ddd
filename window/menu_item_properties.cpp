// Menu-item properties: 0 caption, 1 flags bit 2, 2 flags bit 1, 3 flags bit 0 inverted.
#include "window/menu_item_properties.h"

#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "window/window_collection.h"

namespace {

enum MenuItemProperty : int32_t { kCaption = 0, kBit2 = 1, kBit1 = 2, kBit0Inverted = 3 };

struct FlagBit {
    uint32_t mask;
    bool inverted;
};

FlagBit FlagOf(int32_t index) {
    switch (index) {
    case kBit2:
        return {0x4, false};
    case kBit1:
        return {0x2, false};
    case kBit0Inverted:
        return {0x1, true};
    default:
        return {0, false};
    }
}

int32_t FindMenuItem(WindowObject &window, uint32_t unitId, UnitRecordLayout *layout) {
    const int32_t index = FindUnitIndex(window.units, unitId);
    if (index < 0 || !ParseUnitRecord(window.units, index, layout))
        ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
    return index;
}

} // namespace

uint64_t ReadMenuItemProperty(WindowObject &window, uint32_t unitId, int32_t index) {
    UnitRecordLayout layout;
    FindMenuItem(window, unitId, &layout);
    if (index == kCaption) {
        const char *caption = reinterpret_cast<const char *>(layout.body + layout.captionAt);
        const uint32_t length = static_cast<uint32_t>(std::strlen(caption));
        if (length == 0)
            return 0;
        auto *copy = static_cast<char *>(AllocateMemory(length + 1));
        std::memcpy(copy, caption, length + 1);
        return reinterpret_cast<uint32_t>(copy);
    }
    const FlagBit bit = FlagOf(index);
    if (bit.mask == 0)
        return 0;
    const bool set = (ReadFixedWord(layout, kMenuFlagsOffset) & bit.mask) != 0;
    return set != bit.inverted;
}

void WriteMenuItemProperty(WindowObject &window, uint32_t unitId, int32_t index, uint32_t low) {
    UnitRecordLayout layout;
    const int32_t recordIndex = FindMenuItem(window, unitId, &layout);
    if (index == kCaption) {
        const char *caption = reinterpret_cast<const char *>(layout.body + layout.captionAt);
        const char *text = low != 0 ? reinterpret_cast<const char *>(low) : "";
        if (std::strcmp(caption, text) != 0)
            ReplaceRecordBytes(window.units, recordIndex, layout.captionAt,
                               static_cast<uint32_t>(std::strlen(caption)), text,
                               static_cast<uint32_t>(std::strlen(text)));
        return;
    }
    const FlagBit bit = FlagOf(index);
    if (bit.mask == 0)
        return;
    const bool on = (low != 0) != bit.inverted;
    uint32_t flags = ReadFixedWord(layout, kMenuFlagsOffset);
    flags = on ? (flags | bit.mask) : (flags & ~bit.mask);
    WriteFixedWord(layout, kMenuFlagsOffset, flags);
}
