// Menu-item properties: 0 caption, 1 flags bit 2, 2 flags bit 1, 3 flags bit 0 inverted; a write
// that changes the record rebuilds the window's menu.
#include "window/menu_item_properties.h"

#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "window/menu_builder.h"
#include "window/window_template.h"

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

// The record index of the menu item; an absent one ends in the look-up report.
uint32_t FindMenuItem(WindowTemplate &window, uint32_t unitId) {
    const int32_t index = window.IndexOfUnit(unitId);
    if (index < 0 || !window.RecordAt(static_cast<uint32_t>(index)).IsMenuItem()) {
        ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
    }
    return static_cast<uint32_t>(index);
}

} // namespace

uint64_t ReadMenuItemProperty(WindowTemplate &window, uint32_t unitId, int32_t index) {
    const UnitRecordView record = window.RecordAt(FindMenuItem(window, unitId));
    if (index == kCaption) {
        const char *caption = record.Caption();
        const uint32_t length = static_cast<uint32_t>(std::strlen(caption));
        if (length == 0) {
            return 0;
        }
        auto *copy = static_cast<char *>(AllocateMemory(length + 1));
        std::memcpy(copy, caption, length + 1);
        return reinterpret_cast<uint32_t>(copy);
    }
    const FlagBit bit = FlagOf(index);
    if (bit.mask == 0) {
        return 0;
    }
    const bool set = (record.MenuFlags() & bit.mask) != 0;
    return set != bit.inverted;
}

void WriteMenuItemProperty(WindowTemplate &window, uint32_t unitId, int32_t index, uint32_t low) {
    const uint32_t recordIndex = FindMenuItem(window, unitId);
    UnitRecordView record = window.RecordAt(recordIndex);
    if (index == kCaption) {
        const char *text = low != 0 ? reinterpret_cast<const char *>(low) : "";
        if (std::strcmp(record.Caption(), text) == 0) {
            return;
        }
        if (!window.ReplaceMenuCaption(recordIndex, text)) {
            ReportMemoryFailure(static_cast<uint32_t>(window.UnitListData().size()));
        }
        RebuildWindowMenu(window);
        return;
    }
    const FlagBit bit = FlagOf(index);
    if (bit.mask == 0) {
        return;
    }
    const bool on = (low != 0) != bit.inverted;
    const uint32_t flags = on ? (record.MenuFlags() | bit.mask) : (record.MenuFlags() & ~bit.mask);
    if (flags != record.MenuFlags()) {
        record.SetMenuFlags(flags);
        RebuildWindowMenu(window);
    }
}
