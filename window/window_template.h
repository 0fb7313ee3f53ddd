// WindowTemplate: one deserialized WindowRecord with its UnitList data, record lookup by index
// and by UnitId, the start-up handler rewrite, the edits that change a record's length, and the
// pristine copy a loaded window restores.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "window/template_block.h"
#include "window/unit_record.h"

class ArchiveReader;

class WindowTemplate {
public:
    // Reads one WindowRecord for windowId and checks that every record of its UnitList lies
    // inside the data and walks to its end; throws ArchiveException otherwise or when memory
    // runs out.
    static std::unique_ptr<WindowTemplate> Read(ArchiveReader &reader, uint32_t windowId);

    uint32_t WindowId() const { return windowId_; }
    // Fields carried unchanged; nothing in the window engine reads them.
    uint32_t ReservedWord1() const { return reserved1_; }
    uint32_t ReservedWord2() const { return reserved2_; }
    std::span<const uint8_t> Text1() const { return text1_.Bytes(); }
    std::span<const uint8_t> Text2() const { return text2_.Bytes(); }

    // U, the window's own record included (always record 0).
    uint32_t UnitCount() const { return unitCount_; }
    std::span<const uint8_t> UnitListData() const { return unitList_.Bytes(); }
    // The UnitId at list position index (below UnitCount).
    uint32_t UnitIdAt(uint32_t index) const;
    // The list position of unitId, or -1 when it is invalid or absent. Entry 0 is compared
    // first; duplicates are not detected and the first match wins.
    int32_t IndexOfUnit(uint32_t unitId) const;
    // The absent view when index is not below UnitCount.
    UnitRecordView RecordAt(uint32_t index);
    UnitRecordView FindRecord(uint32_t unitId);

    // Turns the handler offsets of every record into addresses relative to codeBase.
    void RelocateHandlers(uint32_t codeBase);

    // The variable-length fields of record index: each replaces the field's bytes, moves the
    // later records and recomputes every layout, so views taken before are stale afterwards.
    // False, with nothing changed, for an absent record, a record of the other form or when
    // memory runs out.
    bool ReplaceTag(uint32_t index, const char *tag);
    bool ReplaceMousePointer(uint32_t index, std::span<const uint8_t> block);
    bool ReplaceMenuCaption(uint32_t index, const char *caption);

    // Loading a window first keeps a copy of the UnitList data, which the live window then
    // writes into; destroying it puts the copy back, so a second load starts from the template.
    // A failed load drops the copy and keeps the working data.
    void KeepPristineCopy();
    void RestorePristineCopy();
    void DiscardPristineCopy();
    bool HasPristineCopy() const { return hasPristine_; }

private:
    WindowTemplate() = default;
    // Computes the body offsets and layouts of the UnitList data; throws ArchiveException when a
    // record does not fit.
    void ParseUnitList();
    void RejectOverlappingRecords() const;
    bool ReplaceRecordBytes(uint32_t index, uint32_t offset, uint32_t oldLength,
                            std::span<const uint8_t> bytes);
    uint32_t RecordsStart() const { return 8 * unitCount_; }

    uint32_t windowId_ = 0;
    uint32_t reserved1_ = 0;
    uint32_t reserved2_ = 0;
    TemplateBlock text1_;
    TemplateBlock text2_;
    uint32_t unitCount_ = 0;
    TemplateBlock unitList_;
    // Offset of each record body from the start of the UnitList data, and its layout.
    std::vector<uint32_t> bodyOffsets_;
    std::vector<UnitRecordLayout> layouts_;
    TemplateBlock pristine_;
    bool hasPristine_ = false;
};

// The window templates of a segment in template order; the window collection adopts it.
using WindowTemplateList = std::vector<std::unique_ptr<WindowTemplate>>;
