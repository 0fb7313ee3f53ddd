// Colour resolution and font creation for the edit box and the label.
#include "window/units/edit_box/unit_look.h"

#include <cstring>

#include "runtime/program_text_wide.h"
#include "window/font_property.h"

COLORREF ResolveUnitColour(uint32_t colour) {
    return colour == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

HFONT CreateUnitFont(const std::vector<uint8_t> &record) {
    if (record.size() != sizeof(LOGFONTA))
        return nullptr;
    LOGFONTA logical;
    std::memcpy(&logical, record.data(), sizeof logical);
    logical.lfFaceName[LF_FACESIZE - 1] = '\0';
    logical.lfCharSet = UnitCharSet();
    logical.lfOutPrecision = 0;
    logical.lfClipPrecision = 0;
    logical.lfQuality = PROOF_QUALITY;
    logical.lfPitchAndFamily = 0;
    const LOGFONTW wide = WideLogicalFont(logical);
    return CreateFontIndirectW(&wide);
}

BYTE UnitCharSet() {
    return GetACP() == kProgramCodePage ? DEFAULT_CHARSET : GB2312_CHARSET;
}

HFONT DefaultUnitFont() {
    static const HFONT font = [] {
        auto *stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW logical = {};
        if (UnitCharSet() == DEFAULT_CHARSET || GetObjectW(stock, sizeof logical, &logical) == 0)
            return stock;
        logical.lfCharSet = UnitCharSet();
        HFONT chinese = CreateFontIndirectW(&logical);
        return chinese != nullptr ? chinese : stock;
    }();
    return font;
}
