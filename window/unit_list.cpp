// Bounded walking of unit records: every offset is checked against the record length, so a
// malformed record is reported as absent instead of being read past its end.
#include "window/unit_list.h"

#include <cstring>

namespace {

uint32_t LoadWord(const uint8_t *at) {
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

void StoreWord(uint8_t *at, uint32_t value) {
    std::memcpy(at, &value, 4);
}

// Size of the id and offset tables; the records follow them.
uint32_t TablesSize(const UnitList &list) {
    return list.count * 8;
}

bool TablesFit(const UnitList &list) {
    return list.count <= list.data.Size() / 8 && list.data.Data() != nullptr;
}

// Reads a bounded walk over one body.
class BodyCursor {
public:
    BodyCursor(const uint8_t *body, uint32_t length) : body_(body), length_(length) {}
    bool Skip(uint32_t bytes) {
        if (bytes > length_ - at_)
            return ok_ = false;
        at_ += bytes;
        return true;
    }
    bool Word(uint32_t *value) {
        if (length_ - at_ < 4)
            return ok_ = false;
        *value = LoadWord(body_ + at_);
        at_ += 4;
        return true;
    }
    // Skips a 0-terminated text, terminator included; returns its length without it.
    bool ZText(uint32_t *textLength) {
        const void *end = std::memchr(body_ + at_, 0, length_ - at_);
        if (end == nullptr)
            return ok_ = false;
        *textLength = static_cast<uint32_t>(static_cast<const uint8_t *>(end) - (body_ + at_));
        at_ += *textLength + 1;
        return true;
    }
    uint32_t At() const { return at_; }
    bool Ok() const { return ok_; }

private:
    const uint8_t *body_;
    uint32_t length_;
    uint32_t at_ = 0;
    bool ok_ = true;
};

constexpr uint32_t kHeaderBytes = 24; // type, event target, four reserved words
constexpr uint32_t kFixedWordsBytes = 32;
constexpr uint32_t kReservedAfterBindingsBytes = 20;
constexpr uint32_t kMaxRecordWords = 0x40000000;

} // namespace

uint32_t UnitIdAt(const UnitList &list, uint32_t index) {
    if (index >= list.count || !TablesFit(list))
        return 0;
    return LoadWord(list.data.Data() + 4 * index);
}

int32_t FindUnitIndex(const UnitList &list, uint32_t unitId) {
    if (list.count == 0 || !TablesFit(list))
        return -1;
    if (unitId == 0 || unitId == UnitIdAt(list, 0))
        return 0;
    if (!IsValidIdentifier(unitId))
        return -1;
    for (uint32_t i = 1; i < list.count; ++i)
        if (UnitIdAt(list, i) == unitId)
            return static_cast<int32_t>(i);
    return -1;
}

bool ParseUnitRecord(const UnitList &list, uint32_t index, UnitRecordLayout *layout) {
    if (index >= list.count || !TablesFit(list))
        return false;
    const uint32_t dataSize = list.data.Size();
    const uint32_t offset = LoadWord(list.data.Data() + 4 * (list.count + index));
    const uint32_t lengthAt = TablesSize(list) + offset;
    if (offset > dataSize || lengthAt > dataSize - 4)
        return false;
    const uint32_t length = LoadWord(list.data.Data() + lengthAt);
    if (length > dataSize - lengthAt - 4)
        return false;
    *layout = UnitRecordLayout{};
    layout->body = list.data.Data() + lengthAt + 4;
    layout->length = length;

    BodyCursor cursor(layout->body, length);
    uint32_t ignored = 0;
    cursor.Skip(kHeaderBytes);
    cursor.ZText(&ignored) && cursor.ZText(&ignored);
    layout->afterRemark = cursor.At();
    if (IsMenuItemId(UnitIdAt(list, index))) {
        cursor.Skip(kMenuCaptionOffset);
        layout->captionAt = cursor.At();
        cursor.ZText(&ignored);
        layout->handlerAt = cursor.At();
        cursor.Skip(4);
        return cursor.Ok();
    }
    cursor.Skip(kChildCountOffset);
    cursor.Word(&layout->childCount);
    if (layout->childCount >= kMaxRecordWords)
        return false;
    cursor.Skip(4 * layout->childCount);
    layout->pointerLengthAt = cursor.At();
    uint32_t pointerLength = 0;
    cursor.Word(&pointerLength);
    if (static_cast<int32_t>(pointerLength) < 0)
        pointerLength = 0;
    layout->pointerLength = pointerLength;
    cursor.Skip(pointerLength);
    layout->tagAt = cursor.At();
    cursor.ZText(&layout->tagLength);
    cursor.Skip(4);
    layout->flagsAt = cursor.At();
    cursor.Skip(4);
    layout->tabOrderAt = cursor.At();
    cursor.Skip(4);
    cursor.Word(&layout->bindingCount);
    if (layout->bindingCount >= kMaxRecordWords / 2)
        return false;
    layout->bindingsAt = cursor.At();
    cursor.Skip(8 * layout->bindingCount);
    cursor.Skip(kReservedAfterBindingsBytes);
    if (!cursor.Ok())
        return false;
    layout->propertyBlockAt = cursor.At();
    layout->propertyBlockLength = length - cursor.At();
    return true;
}

uint32_t ReadRecordWord(const UnitRecordLayout &layout, uint32_t offset) {
    if (offset > layout.length || layout.length - offset < 4)
        return 0;
    return LoadWord(layout.body + offset);
}

void WriteRecordWord(const UnitRecordLayout &layout, uint32_t offset, uint32_t value) {
    if (offset <= layout.length && layout.length - offset >= 4)
        StoreWord(layout.body + offset, value);
}

bool ReplaceRecordBytes(UnitList &list, uint32_t index, uint32_t offset, uint32_t oldLength,
                        const void *bytes, uint32_t newLength) {
    UnitRecordLayout layout;
    if (!ParseUnitRecord(list, index, &layout) || offset > layout.length ||
        oldLength > layout.length - offset)
        return false;
    const uint32_t bodyAt = static_cast<uint32_t>(layout.body - list.data.Data());
    if (!list.data.Replace(bodyAt + offset, oldLength, bytes, newLength))
        return false;
    const int32_t growth = static_cast<int32_t>(newLength) - static_cast<int32_t>(oldLength);
    uint8_t *data = list.data.Data();
    StoreWord(data + bodyAt - 4, layout.length + growth);
    const uint32_t oldOffset = LoadWord(data + 4 * (list.count + index));
    for (uint32_t i = 0; i < list.count; ++i) {
        uint8_t *slot = data + 4 * (list.count + i);
        if (LoadWord(slot) > oldOffset)
            StoreWord(slot, LoadWord(slot) + growth);
    }
    return true;
}

bool CopyUnitList(const UnitList &from, UnitList &to) {
    to.data.Free();
    to.count = from.count;
    if (from.data.Size() == 0)
        return true;
    return to.data.Append(from.data.Data(), static_cast<int32_t>(from.data.Size()));
}
