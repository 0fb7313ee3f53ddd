// Reading a WindowRecord, looking its records up, editing its variable-length fields, and the
// copies kept while a window is loaded.
#include "window/window_template.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "framework/archive.h"
#include "runtime/error_report.h"
#include "window/template_ids.h"
#include "window/template_words.h"

namespace {

// A bytes field's length word: a negative length means empty with nothing following.
uint32_t BytesFieldLength(uint32_t word) {
    return static_cast<int32_t>(word) < 0 ? 0 : word;
}

void CopyInto(TemplateBlock &block, std::span<const uint8_t> bytes) {
    if (!block.Assign(bytes)) {
        throw ArchiveException("out of memory while reading a window template");
    }
}

// A text field: length word, then that many bytes.
void ReadText(ArchiveReader &reader, TemplateBlock &into) {
    const uint32_t length = reader.ReadWord();
    CopyInto(into, {reader.Take(length), length});
}

} // namespace

std::unique_ptr<WindowTemplate> WindowTemplate::Read(ArchiveReader &reader, uint32_t windowId) {
    std::unique_ptr<WindowTemplate> window(new WindowTemplate);
    window->windowId_ = windowId;
    window->reserved1_ = reader.ReadWord();
    window->reserved2_ = reader.ReadWord();
    ReadText(reader, window->text1_);
    ReadText(reader, window->text2_);
    window->unitCount_ = reader.ReadWord();
    const uint32_t dataLength = BytesFieldLength(reader.ReadWord());
    CopyInto(window->unitList_, {reader.Take(dataLength), dataLength});
    window->ParseUnitList();
    return window;
}

void WindowTemplate::ParseUnitList() {
    const uint32_t size = unitList_.Size();
    // Both tables must fit before anything is sized by the count.
    if (unitCount_ > size / 8) {
        throw ArchiveException("unit tables past the end of the unit list");
    }
    bodyOffsets_.clear();
    layouts_.clear();
    bodyOffsets_.reserve(unitCount_);
    layouts_.reserve(unitCount_);
    const uint8_t *data = unitList_.Data();
    for (uint32_t i = 0; i < unitCount_; ++i) {
        const uint32_t offset = LoadTemplateWord(data + 4 * unitCount_ + 4 * i);
        const uint32_t left = size - RecordsStart();
        if (offset > left || left - offset < 4) {
            throw ArchiveException("unit record offset past the end of the unit list");
        }
        const uint32_t lengthAt = RecordsStart() + offset;
        const uint32_t length = LoadTemplateWord(data + lengthAt);
        if (length > size - lengthAt - 4) {
            throw ArchiveException("unit record past the end of the unit list");
        }
        bodyOffsets_.push_back(lengthAt + 4);
        layouts_.push_back(ParseUnitRecord(data + lengthAt + 4, length, IsMenuItemId(UnitIdAt(i))));
    }
    RejectOverlappingRecords();
}

void WindowTemplate::RejectOverlappingRecords() const {
    // Records are rewritten in place (handlers relocated, live slots set), so two records that
    // share bytes would let an edit of one change the counts the other was checked with.
    std::vector<std::pair<uint32_t, uint32_t>> spans;
    spans.reserve(unitCount_);
    const uint8_t *data = unitList_.Data();
    for (uint32_t bodyAt : bodyOffsets_) {
        spans.emplace_back(bodyAt - 4, bodyAt + LoadTemplateWord(data + bodyAt - 4));
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            throw ArchiveException("unit records overlap");
        }
    }
}

uint32_t WindowTemplate::UnitIdAt(uint32_t index) const {
    return LoadTemplateWord(unitList_.Data() + 4 * index);
}

int32_t WindowTemplate::IndexOfUnit(uint32_t unitId) const {
    if (!IsValidId(unitId)) {
        return -1;
    }
    for (uint32_t i = 0; i < unitCount_; ++i) {
        if (UnitIdAt(i) == unitId) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

UnitRecordView WindowTemplate::RecordAt(uint32_t index) {
    if (index >= unitCount_) {
        return {};
    }
    return {unitList_.Data() + bodyOffsets_[index], &layouts_[index]};
}

UnitRecordView WindowTemplate::FindRecord(uint32_t unitId) {
    const int32_t index = IndexOfUnit(unitId);
    return index < 0 ? UnitRecordView{} : RecordAt(static_cast<uint32_t>(index));
}

void WindowTemplate::RelocateHandlers(uint32_t codeBase) {
    for (uint32_t i = 0; i < unitCount_; ++i) {
        RecordAt(i).RelocateHandlers(codeBase);
    }
}

void WindowTemplate::KeepPristineCopy() {
    if (!pristine_.Assign(unitList_.Bytes())) {
        ReportMemoryFailure(unitList_.Size());
    }
    hasPristine_ = true;
}

void WindowTemplate::RestorePristineCopy() {
    if (!hasPristine_) {
        return;
    }
    unitList_.Swap(pristine_);
    pristine_.Release();
    hasPristine_ = false;
    // The copy was parsed when it was taken; a record edited meanwhile may have changed length.
    ParseUnitList();
}

void WindowTemplate::DiscardPristineCopy() {
    pristine_.Release();
    hasPristine_ = false;
}

bool WindowTemplate::ReplaceTag(uint32_t index, const char *tag) {
    const UnitRecordView record = RecordAt(index);
    if (!record || record.IsMenuItem()) {
        return false;
    }
    const uint32_t offset =
        static_cast<uint32_t>(record.Tag() - reinterpret_cast<const char *>(record.Body()));
    const char *text = tag != nullptr ? tag : "";
    return ReplaceRecordBytes(
        index, offset, static_cast<uint32_t>(std::strlen(record.Tag())),
        {reinterpret_cast<const uint8_t *>(text), static_cast<uint32_t>(std::strlen(text))});
}

bool WindowTemplate::ReplaceMousePointer(uint32_t index, std::span<const uint8_t> block) {
    const UnitRecordView record = RecordAt(index);
    if (!record || record.IsMenuItem()) {
        return false;
    }
    // The bytes field: its length word, then the block.
    std::vector<uint8_t> field(4 + block.size());
    StoreTemplateWord(field.data(), static_cast<uint32_t>(block.size()));
    if (!block.empty()) {
        std::memcpy(field.data() + 4, block.data(), block.size());
    }
    const uint32_t offset = static_cast<uint32_t>(record.MousePointer().data() - record.Body()) - 4;
    return ReplaceRecordBytes(index, offset, 4 + record.MousePointer().size(), field);
}

bool WindowTemplate::ReplaceMenuCaption(uint32_t index, const char *caption) {
    const UnitRecordView record = RecordAt(index);
    if (!record || !record.IsMenuItem()) {
        return false;
    }
    const uint32_t offset =
        static_cast<uint32_t>(record.Caption() - reinterpret_cast<const char *>(record.Body()));
    const char *text = caption != nullptr ? caption : "";
    return ReplaceRecordBytes(
        index, offset, static_cast<uint32_t>(std::strlen(record.Caption())),
        {reinterpret_cast<const uint8_t *>(text), static_cast<uint32_t>(std::strlen(text))});
}

bool WindowTemplate::ReplaceRecordBytes(uint32_t index, uint32_t offset, uint32_t oldLength,
                                        std::span<const uint8_t> bytes) {
    const uint32_t bodyAt = bodyOffsets_[index];
    const uint32_t length = layouts_[index].length;
    const uint32_t newLength = length - oldLength + static_cast<uint32_t>(bytes.size());
    const uint8_t *data = unitList_.Data();
    std::vector<uint8_t> edited;
    try {
        edited.reserve(unitList_.Size() - oldLength + bytes.size());
    } catch (const std::bad_alloc &) {
        return false;
    }
    edited.insert(edited.end(), data, data + bodyAt + offset);
    edited.insert(edited.end(), bytes.begin(), bytes.end());
    edited.insert(edited.end(), data + bodyAt + offset + oldLength, data + unitList_.Size());
    // The record's length word, then every offset that lies behind the edited record.
    StoreTemplateWord(edited.data() + bodyAt - 4, newLength);
    const uint32_t editedOffset = LoadTemplateWord(data + 4 * unitCount_ + 4 * index);
    for (uint32_t i = 0; i < unitCount_; ++i) {
        uint8_t *slot = edited.data() + 4 * unitCount_ + 4 * i;
        if (LoadTemplateWord(slot) > editedOffset) {
            StoreTemplateWord(slot, LoadTemplateWord(slot) + newLength - length);
        }
    }
    TemplateBlock replaced;
    if (!replaced.Assign(edited)) {
        return false;
    }
    unitList_.Swap(replaced);
    try {
        ParseUnitList();
    } catch (const ArchiveException &) {
        // The edit broke a field the walk needs: the template stays as it was.
        unitList_.Swap(replaced);
        ParseUnitList();
        return false;
    }
    return true;
}
