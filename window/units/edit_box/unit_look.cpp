// Colour resolution and font creation for the edit box and the label.
#include "window/units/edit_box/unit_look.h"

#include <cstring>
#include <map>

#include "runtime/program_text_wide.h"
#include "window/dpi_scale.h"
#include "window/font_property.h"

COLORREF ResolveUnitColour(uint32_t colour) {
    return colour == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : colour;
}

HFONT CreateUnitFont(const std::vector<uint8_t> &record, int dpi) {
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
    logical.lfHeight = UnitsToPixels(logical.lfHeight, dpi);
    logical.lfWidth = UnitsToPixels(logical.lfWidth, dpi);
    const LOGFONTW wide = WideLogicalFont(logical);
    return CreateFontIndirectW(&wide);
}

BYTE UnitCharSet() {
    return GetACP() == kProgramCodePage ? DEFAULT_CHARSET : GB2312_CHARSET;
}

namespace {

HFONT SystemDpiUnitFont() {
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

} // namespace

HFONT DefaultUnitFont(int dpi) {
    const int system = SystemDpi();
    if (dpi == system || dpi <= 0)
        return SystemDpiUnitFont();
    static std::map<int, HFONT> atOtherDpis;
    HFONT &font = atOtherDpis[dpi];
    if (font == nullptr) {
        LOGFONTW logical = {};
        if (GetObjectW(SystemDpiUnitFont(), sizeof logical, &logical) == 0)
            return SystemDpiUnitFont();
        logical.lfHeight = MulDiv(logical.lfHeight, dpi, system);
        logical.lfWidth = MulDiv(logical.lfWidth, dpi, system);
        font = CreateFontIndirectW(&logical);
    }
    return font != nullptr ? font : SystemDpiUnitFont();
}
