// The label's PropertyBlock: reading (versions 0 to 2) and saving (version 2).
#include <algorithm>

#include "window/property_block.h"
#include "window/units/label/label_unit.h"
#include "window/units/unit_property_values.h"

bool ReadLabelProperties(const uint8_t *block, uint32_t size, LabelProperties *properties) {
    *properties = LabelProperties{};
    if (block == nullptr || size == 0)
        return true;
    LabelProperties &p = *properties;
    try {
        ArchiveReader in(block, size);
        const uint32_t version = in.ReadWord();
        if (version > kLabelBlockVersion)
            return false;
        p.letteringEffect = Clamp(in.ReadWord(), 3);
        // Only writes raise the frame width to its minimum; a block keeps what it stores.
        p.frameWidth = in.ReadWord();
        p.border = Clamp(in.ReadWord(), kGradientFrameBorder);
        for (uint32_t &colour : p.frameColours)
            colour = in.ReadWord();
        p.textColour = in.ReadWord();
        p.backgroundColour = in.ReadWord();
        p.pictureMode = Clamp(in.ReadWord(), 2);
        p.gradientStyle = Clamp(in.ReadWord(), 8);
        for (uint32_t &colour : p.gradientColours)
            colour = in.ReadWord();
        p.horizontalAlignment = Clamp(in.ReadWord(), 2);
        p.verticalAlignment = Clamp(in.ReadWord(), 2);
        p.wordWrap = in.ReadWord() != 0;
        p.font = ReadBlockBytes(in);
        p.picture = ReadBlockBytes(in);
        p.caption = ReadBlockText(in);
        if (version >= 2) {
            p.dataSource = ReadBlockText(in);
            p.dataColumn = ReadBlockText(in);
        }
        return true;
    } catch (const ArchiveException &) {
        return false;
    }
}

HGLOBAL SaveLabelProperties(const LabelProperties &p) {
    ArchiveWriter out;
    out.WriteWord(kLabelBlockVersion);
    for (uint32_t word :
         {p.letteringEffect, p.frameWidth, p.border, p.frameColours[0], p.frameColours[1],
          p.frameColours[2], p.textColour, p.backgroundColour, p.pictureMode, p.gradientStyle,
          p.gradientColours[0], p.gradientColours[1], p.gradientColours[2], p.horizontalAlignment,
          p.verticalAlignment, p.wordWrap})
        out.WriteWord(word);
    WriteBlockBytes(out, p.font);
    WriteBlockBytes(out, p.picture);
    WriteBlockText(out, p.caption);
    WriteBlockText(out, p.dataSource);
    WriteBlockText(out, p.dataColumn);
    return ToMovableBlock(out);
}
