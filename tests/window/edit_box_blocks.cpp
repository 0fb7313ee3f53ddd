// Edit box block writer and unit specs of the tests.
#include "tests/window/edit_box_blocks.h"

#include <windows.h>

#include <cstring>

#include "framework/archive.h"

namespace {

void WriteCounted(ArchiveWriter &out, const void *bytes, size_t size) {
    out.WriteWord(static_cast<uint32_t>(size));
    out.WriteBytes(bytes, size);
}

} // namespace

std::vector<uint8_t> EditBoxBlock(const EditBoxProperties &p, uint32_t version) {
    ArchiveWriter out;
    for (uint32_t word : {version, p.border, p.textColour, p.backgroundColour, p.hideSelection,
                          p.maximumLength, p.multiLine, p.scrollBars, p.alignment, p.inputMode})
        out.WriteWord(word);
    out.WriteHalfWord(p.passwordCharacter);
    for (uint32_t word :
         {p.caseConversion, p.spinMode, static_cast<uint32_t>(p.spinMinimum),
          static_cast<uint32_t>(p.spinMaximum), static_cast<uint32_t>(p.selectionStart),
          static_cast<uint32_t>(p.selectionLength)})
        out.WriteWord(word);
    WriteCounted(out, p.font.data(), p.font.size());
    WriteCounted(out, p.content.data(), p.content.size());
    if (version >= 2) {
        WriteCounted(out, p.dataSource.data(), p.dataSource.size());
        WriteCounted(out, p.dataColumn.data(), p.dataColumn.size());
    }
    return out.Bytes();
}

std::vector<uint8_t> FontRecord(const std::string &face, int32_t height) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = 400;
    font.lfCharSet = GB2312_CHARSET;
    std::memcpy(font.lfFaceName, face.data(), std::min<size_t>(face.size(), LF_FACESIZE - 1));
    const auto *bytes = reinterpret_cast<const uint8_t *>(&font);
    return std::vector<uint8_t>(bytes, bytes + sizeof font);
}

UnitSpec EditBoxSpec(uint32_t unitId, const std::string &name, int32_t left, int32_t top,
                     int32_t width, int32_t height, std::vector<uint8_t> block,
                     std::vector<std::pair<int32_t, const void *>> bindings) {
    UnitSpec unit;
    unit.unitId = unitId;
    unit.type = kEditBoxUnitType;
    unit.name = name;
    unit.left = left;
    unit.top = top;
    unit.width = width;
    unit.height = height;
    unit.flags = 5;
    unit.bindings = std::move(bindings);
    unit.propertyBlock = std::move(block);
    return unit;
}
