// The working unit list of a window: the UnitId table, the offset table and the unit records,
// with bounded accessors for the fields the window engine reads and writes.
#pragma once

#include <cstdint>

#include "runtime/growable_buffer.h"

// Identifier tests shared by every walker.
inline bool IsValidIdentifier(uint32_t id) {
    return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0;
}
inline bool IsMenuItemId(uint32_t id) {
    return (id & 0x0F000000) == 0x06000000 && (id & 0xF0000000) == 0x20000000;
}

// UnitFlags bits of a record.
constexpr uint32_t kUnitFlagVisible = 0x1;
constexpr uint32_t kUnitFlagDisabled = 0x2;
constexpr uint32_t kUnitFlagTabStop = 0x4;
constexpr uint32_t kUnitFlagMenuBuilt = 0x8;

struct UnitList {
    uint32_t count = 0;  // U, the window's own record included
    GrowableBuffer data; // UnitId table, offset table, records
};

// Offsets (from the body start) of one record's fields; filled by ParseUnitRecord.
struct UnitRecordLayout {
    uint8_t *body = nullptr;
    uint32_t length = 0;      // L
    uint32_t afterRemark = 0; // E
    // Ordinary records.
    uint32_t childCount = 0;
    uint32_t pointerLengthAt = 0; // the mouse-pointer bytes field (length word)
    uint32_t pointerLength = 0;
    uint32_t tagAt = 0; // first byte of the tag text
    uint32_t tagLength = 0;
    uint32_t flagsAt = 0;
    uint32_t tabOrderAt = 0;
    uint32_t bindingCount = 0;
    uint32_t bindingsAt = 0;
    uint32_t propertyBlockAt = 0;
    uint32_t propertyBlockLength = 0;
    // Menu items.
    uint32_t captionAt = 0;
    uint32_t handlerAt = 0;
};

// Offsets behind E of the ordinary record's fixed words.
constexpr uint32_t kLiveUnitOffset = 0;
constexpr uint32_t kLeftOffset = 4;
constexpr uint32_t kTopOffset = 8;
constexpr uint32_t kWidthOffset = 12;
constexpr uint32_t kHeightOffset = 16;
constexpr uint32_t kLivePointerOffset = 20;
constexpr uint32_t kParentOffset = 24;
constexpr uint32_t kChildCountOffset = 28;
constexpr uint32_t kChildrenOffset = 32;
// Menu-item fields behind E.
constexpr uint32_t kMenuShortcutOffset = 0;
constexpr uint32_t kMenuValueOffset = 4;
constexpr uint32_t kMenuFlagsOffset = 8;
constexpr uint32_t kMenuCaptionOffset = 12;

uint32_t UnitIdAt(const UnitList &list, uint32_t index);
// Index of the record of unitId (0 is record 0), or -1; invalid identifiers are never found.
int32_t FindUnitIndex(const UnitList &list, uint32_t unitId);
// The record at index, parsed; false when there is none or it is malformed.
bool ParseUnitRecord(const UnitList &list, uint32_t index, UnitRecordLayout *layout);

uint32_t ReadRecordWord(const UnitRecordLayout &layout, uint32_t offset);
void WriteRecordWord(const UnitRecordLayout &layout, uint32_t offset, uint32_t value);
// Word at E + offset.
inline uint32_t ReadFixedWord(const UnitRecordLayout &layout, uint32_t offset) {
    return ReadRecordWord(layout, layout.afterRemark + offset);
}
inline void WriteFixedWord(const UnitRecordLayout &layout, uint32_t offset, uint32_t value) {
    WriteRecordWord(layout, layout.afterRemark + offset, value);
}

// Replaces oldLength bytes at offset within record index by newLength bytes, fixing the record's
// length word and the offsets of the later records. Invalidates parsed layouts.
bool ReplaceRecordBytes(UnitList &list, uint32_t index, uint32_t offset, uint32_t oldLength,
                        const void *bytes, uint32_t newLength);

// Copies from into to (to's old contents are freed).
bool CopyUnitList(const UnitList &from, UnitList &to);
