// Label block writer and unit specs of the tests.
#include "tests/window/label_blocks.h"

#include "framework/archive.h"

namespace {

void WriteCounted(ArchiveWriter &out, const void *bytes, size_t size) {
    out.WriteWord(static_cast<uint32_t>(size));
    out.WriteBytes(bytes, size);
}

} // namespace

std::vector<uint8_t> LabelBlock(const LabelProperties &p, uint32_t version) {
    ArchiveWriter out;
    for (uint32_t word :
         {version, p.letteringEffect, p.frameWidth, p.border, p.frameColours[0], p.frameColours[1],
          p.frameColours[2], p.textColour, p.backgroundColour, p.pictureMode, p.gradientStyle,
          p.gradientColours[0], p.gradientColours[1], p.gradientColours[2], p.horizontalAlignment,
          p.verticalAlignment, p.wordWrap})
        out.WriteWord(word);
    WriteCounted(out, p.font.data(), p.font.size());
    WriteCounted(out, p.picture.data(), p.picture.size());
    WriteCounted(out, p.caption.data(), p.caption.size());
    if (version >= 2) {
        WriteCounted(out, p.dataSource.data(), p.dataSource.size());
        WriteCounted(out, p.dataColumn.data(), p.dataColumn.size());
    }
    return out.Bytes();
}

UnitSpec LabelSpec(uint32_t unitId, const std::string &name, int32_t left, int32_t top,
                   int32_t width, int32_t height, std::vector<uint8_t> block,
                   std::vector<std::pair<int32_t, const void *>> bindings) {
    UnitSpec unit;
    unit.unitId = unitId;
    unit.type = kLabelUnitType;
    unit.name = name;
    unit.left = left;
    unit.top = top;
    unit.width = width;
    unit.height = height;
    unit.flags = 1;
    unit.bindings = std::move(bindings);
    unit.propertyBlock = std::move(block);
    return unit;
}
