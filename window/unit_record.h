// UnitRecord: the layout of one record body of a window template and a view that reads and
// writes its fields in place. Ordinary records (the window's own record and controls) and
// menu-item records share the head up to the remark; the UnitId decides which form follows.
#pragma once

#include <cstdint>
#include <span>

// Where the variable-length parts of one record body lie, as offsets from the body's start.
// Computed by ParseUnitRecord, and again by the template whenever an edit changes a record's
// length; writes of fixed-size fields leave it valid.
struct UnitRecordLayout {
    uint32_t length = 0; // L, the body's length
    bool isMenuItem = false;
    uint32_t remark = 0;
    uint32_t afterRemark = 0; // E
    // Ordinary form.
    uint32_t childCount = 0;
    uint32_t mousePointer = 0; // the bytes field's length word
    uint32_t mousePointerLength = 0;
    uint32_t tag = 0;
    uint32_t flags = 0; // UnitFlags; tab order follows
    uint32_t bindingCount = 0;
    uint32_t bindings = 0;
    uint32_t propertyBlock = 0; // its length is length - propertyBlock
    // Menu-item form.
    uint32_t caption = 0;
    uint32_t menuHandler = 0;
};

// Walks one record body of length bytes and returns its layout; throws ArchiveException when a
// field would run past the body's end.
UnitRecordLayout ParseUnitRecord(const uint8_t *body, uint32_t length, bool isMenuItem);

// UnitFlags bits.
inline constexpr uint32_t kUnitVisible = 0x1;
inline constexpr uint32_t kUnitDisabled = 0x2;
inline constexpr uint32_t kUnitTabStop = 0x4;
inline constexpr uint32_t kWindowMenuMarked = 0x8;

// One event binding: after start-up the handler is an address, or 0 for none.
struct EventBinding {
    int32_t eventNumber;
    uint32_t handler;
};

// A record body inside a window template's UnitList data. A default-constructed view is the
// absent record; every accessor of an absent record's fields is the caller's error.
class UnitRecordView {
public:
    UnitRecordView() = default;
    UnitRecordView(uint8_t *body, const UnitRecordLayout *layout) : body_(body), layout_(layout) {}

    explicit operator bool() const { return body_ != nullptr; }
    const uint8_t *Body() const { return body_; }
    uint32_t Length() const { return layout_->length; }
    bool IsMenuItem() const { return layout_->isMenuItem; }

    uint32_t Type() const { return Word(kTypeOffset); }
    uint32_t EventTarget() const { return Word(kEventTargetOffset); }
    const char *Name() const { return reinterpret_cast<const char *>(body_ + kNameOffset); }
    const char *Remark() const { return reinterpret_cast<const char *>(body_ + layout_->remark); }

    // Ordinary form.
    uint32_t LiveUnit() const { return Word(layout_->afterRemark); }
    void SetLiveUnit(uint32_t unit) { SetWord(layout_->afterRemark, unit); }
    int32_t Left() const { return SignedWord(layout_->afterRemark + 4); }
    int32_t Top() const { return SignedWord(layout_->afterRemark + 8); }
    int32_t Width() const { return SignedWord(layout_->afterRemark + 12); }
    int32_t Height() const { return SignedWord(layout_->afterRemark + 16); }
    void SetLeft(int32_t left) { SetWord(layout_->afterRemark + 4, static_cast<uint32_t>(left)); }
    void SetTop(int32_t top) { SetWord(layout_->afterRemark + 8, static_cast<uint32_t>(top)); }
    void SetWidth(int32_t width) {
        SetWord(layout_->afterRemark + 12, static_cast<uint32_t>(width));
    }
    void SetHeight(int32_t height) {
        SetWord(layout_->afterRemark + 16, static_cast<uint32_t>(height));
    }
    uint32_t LivePointer() const { return Word(layout_->afterRemark + 20); }
    void SetLivePointer(uint32_t cursor) { SetWord(layout_->afterRemark + 20, cursor); }
    uint32_t Parent() const { return Word(layout_->afterRemark + 24); }
    uint32_t ChildCount() const { return layout_->childCount; }
    uint32_t Child(uint32_t k) const { return Word(layout_->afterRemark + 32 + 4 * k); }
    std::span<const uint8_t> MousePointer() const {
        return {body_ + layout_->mousePointer + 4, layout_->mousePointerLength};
    }
    const char *Tag() const { return reinterpret_cast<const char *>(body_ + layout_->tag); }
    uint32_t Flags() const { return Word(layout_->flags); }
    void SetFlags(uint32_t flags) { SetWord(layout_->flags, flags); }
    int32_t TabOrder() const { return SignedWord(layout_->flags + 4); }
    uint32_t BindingCount() const { return layout_->bindingCount; }
    EventBinding Binding(uint32_t k) const {
        const uint32_t at = layout_->bindings + 8 * k;
        return {SignedWord(at), Word(at + 4)};
    }
    std::span<const uint8_t> PropertyBlock() const {
        return {body_ + layout_->propertyBlock, layout_->length - layout_->propertyBlock};
    }

    // Menu-item form.
    uint32_t Shortcut() const { return Word(layout_->afterRemark); }
    uint32_t MenuValue() const { return Word(layout_->afterRemark + 4); }
    uint32_t MenuFlags() const { return Word(layout_->afterRemark + 8); }
    void SetMenuFlags(uint32_t flags) { SetWord(layout_->afterRemark + 8, flags); }
    const char *Caption() const { return reinterpret_cast<const char *>(body_ + layout_->caption); }
    uint32_t MenuHandler() const { return Word(layout_->menuHandler); }

    // Turns every stored handler offset into an address: -1 becomes 0 (no handler), any other
    // value v becomes codeBase + v.
    void RelocateHandlers(uint32_t codeBase);

private:
    static constexpr uint32_t kTypeOffset = 0;
    static constexpr uint32_t kEventTargetOffset = 4;
    static constexpr uint32_t kNameOffset = 24;

    uint32_t Word(uint32_t offset) const;
    int32_t SignedWord(uint32_t offset) const { return static_cast<int32_t>(Word(offset)); }
    void SetWord(uint32_t offset, uint32_t word);

    uint8_t *body_ = nullptr;
    const UnitRecordLayout *layout_ = nullptr;
};
