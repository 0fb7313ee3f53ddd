// Colour resolution and font creation for the edit box and the label.
#include "window/units/edit_box/unit_look.h"

#include <cstring>

COLORREF ResolveUnitColour(uint32_t colour) {
    return colour == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

HFONT CreateUnitFont(const std::vector<uint8_t> &record) {
    if (record.size() != sizeof(LOGFONTA))
        return nullptr;
    LOGFONTA logical;
    std::memcpy(&logical, record.data(), sizeof logical);
    logical.lfFaceName[LF_FACESIZE - 1] = '\0';
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfOutPrecision = 0;
    logical.lfClipPrecision = 0;
    logical.lfQuality = PROOF_QUALITY;
    logical.lfPitchAndFamily = 0;
    return CreateFontIndirectA(&logical);
}
