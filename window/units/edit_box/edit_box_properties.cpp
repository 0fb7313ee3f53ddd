// The edit box's PropertyBlock: reading (versions 0 to 2), saving (version 2) and the text
// rewrite of operation 9.
#include <algorithm>
#include <cstring>

#include "window/property_block.h"
#include "window/units/edit_box/edit_box_unit.h"
#include "window/units/edit_box/edit_input.h"
#include "window/units/edit_box/unit_border.h"
#include "window/units/unit_property_values.h"

bool ReadEditBoxProperties(const uint8_t *block, uint32_t size, EditBoxProperties *properties) {
    *properties = EditBoxProperties{};
    if (block == nullptr || size == 0)
        return true;
    EditBoxProperties &p = *properties;
    try {
        ArchiveReader in(block, size);
        const uint32_t version = in.ReadWord();
        if (version > kEditBoxBlockVersion)
            return false;
        p.border = Clamp(in.ReadWord(), kLastWindowBorder);
        p.textColour = in.ReadWord();
        p.backgroundColour = in.ReadWord();
        p.hideSelection = in.ReadWord() != 0;
        p.maximumLength = Clamp(in.ReadWord(), INT32_MAX);
        p.multiLine = in.ReadWord() != 0;
        p.scrollBars = Clamp(in.ReadWord(), 3);
        p.alignment = Clamp(in.ReadWord(), 2);
        p.inputMode = Clamp(in.ReadWord(), kLastInputMode);
        p.passwordCharacter = in.ReadHalfWord();
        p.caseConversion = Clamp(in.ReadWord(), 2);
        p.spinMode = Clamp(in.ReadWord(), 2);
        p.spinMinimum = static_cast<int32_t>(in.ReadWord());
        p.spinMaximum = static_cast<int32_t>(in.ReadWord());
        p.selectionStart = static_cast<int32_t>(in.ReadWord());
        p.selectionLength = static_cast<int32_t>(in.ReadWord());
        p.font = ReadBlockBytes(in);
        p.content = ReadBlockText(in);
        if (version >= 2) {
            p.dataSource = ReadBlockText(in);
            p.dataColumn = ReadBlockText(in);
        }
        return true;
    } catch (const ArchiveException &) {
        return false;
    }
}

HGLOBAL SaveEditBoxProperties(const EditBoxProperties &p) {
    ArchiveWriter out;
    out.WriteWord(kEditBoxBlockVersion);
    for (uint32_t word : {p.border, p.textColour, p.backgroundColour, p.hideSelection,
                          p.maximumLength, p.multiLine, p.scrollBars, p.alignment, p.inputMode})
        out.WriteWord(word);
    out.WriteHalfWord(p.passwordCharacter);
    for (uint32_t word :
         {p.caseConversion, p.spinMode, static_cast<uint32_t>(p.spinMinimum),
          static_cast<uint32_t>(p.spinMaximum), static_cast<uint32_t>(p.selectionStart),
          static_cast<uint32_t>(p.selectionLength)})
        out.WriteWord(word);
    WriteBlockBytes(out, p.font);
    WriteBlockText(out, p.content);
    WriteBlockText(out, p.dataSource);
    WriteBlockText(out, p.dataColumn);
    return ToMovableBlock(out);
}
