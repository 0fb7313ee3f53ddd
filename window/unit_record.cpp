// Walking a UnitRecord body and rewriting its handler words.
#include "window/unit_record.h"

#include "framework/archive.h"
#include "window/template_words.h"

namespace {

// Type, event target and four reserved words precede the name.
constexpr size_t kHeadBytes = 24;
// Live unit, left, top, width, height, live pointer and parent precede the child count.
constexpr size_t kPlacementBytes = 28;
// Shortcut, menu value and menu flags of a menu item.
constexpr size_t kMenuItemWordsBytes = 12;
// The reserved word before UnitFlags, UnitFlags and the tab order.
constexpr size_t kFlagsBytes = 12;
constexpr size_t kBindingBytes = 8;
// Five reserved words stand between the bindings and the PropertyBlock.
constexpr size_t kTrailerBytes = 20;
constexpr uint32_t kNoHandler = 0xFFFFFFFF;

uint32_t OffsetIn(const uint8_t *body, const void *at) {
    return static_cast<uint32_t>(static_cast<const uint8_t *>(at) - body);
}

// A bytes field's length word: a negative length means empty with nothing following.
uint32_t BytesFieldLength(uint32_t word) {
    return static_cast<int32_t>(word) < 0 ? 0 : word;
}

uint32_t Relocated(uint32_t stored, uint32_t codeBase) {
    return stored == kNoHandler ? 0 : codeBase + stored;
}

} // namespace

UnitRecordLayout ParseUnitRecord(const uint8_t *body, uint32_t length, bool isMenuItem) {
    ArchiveReader reader(body, length);
    UnitRecordLayout layout;
    layout.length = length;
    layout.isMenuItem = isMenuItem;
    reader.Skip(kHeadBytes);
    reader.TakeZeroTerminated();
    layout.remark = OffsetIn(body, reader.TakeZeroTerminated());
    layout.afterRemark = length - static_cast<uint32_t>(reader.Remaining());
    if (isMenuItem) {
        reader.Skip(kMenuItemWordsBytes);
        layout.caption = OffsetIn(body, reader.TakeZeroTerminated());
        layout.menuHandler = OffsetIn(body, reader.Take(4));
        return layout;
    }
    reader.Skip(kPlacementBytes);
    layout.childCount = reader.ReadWord();
    reader.TakeElements(layout.childCount, 4);
    layout.mousePointer = length - static_cast<uint32_t>(reader.Remaining());
    layout.mousePointerLength = BytesFieldLength(reader.ReadWord());
    reader.Skip(layout.mousePointerLength);
    layout.tag = OffsetIn(body, reader.TakeZeroTerminated());
    layout.flags = OffsetIn(body, reader.Take(kFlagsBytes)) + 4;
    layout.bindingCount = reader.ReadWord();
    layout.bindings = OffsetIn(body, reader.TakeElements(layout.bindingCount, kBindingBytes));
    reader.Skip(kTrailerBytes);
    layout.propertyBlock = length - static_cast<uint32_t>(reader.Remaining());
    return layout;
}

uint32_t UnitRecordView::Word(uint32_t offset) const {
    return LoadTemplateWord(body_ + offset);
}

void UnitRecordView::SetWord(uint32_t offset, uint32_t word) {
    StoreTemplateWord(body_ + offset, word);
}

void UnitRecordView::RelocateHandlers(uint32_t codeBase) {
    if (layout_->isMenuItem) {
        SetWord(layout_->menuHandler, Relocated(MenuHandler(), codeBase));
        return;
    }
    for (uint32_t k = 0; k < layout_->bindingCount; ++k) {
        const uint32_t at = layout_->bindings + kBindingBytes * k + 4;
        SetWord(at, Relocated(Word(at), codeBase));
    }
}
