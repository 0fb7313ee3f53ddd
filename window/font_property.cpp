// Font fields to and from the logical-font record.
#include "window/font_property.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "runtime/heap.h"
#include "runtime/program_text_wide.h"
#include "window/dpi_scale.h"

namespace {

constexpr int32_t kFullCircle = 3600;
constexpr LONG kBoldWeight = 700;
constexpr const char *kDefaultFace = "宋体";
constexpr size_t kLongestFace = 31;

// A font record's height is in units, as every geometry of the templates: a point is 96/72 of
// one whatever the screen's DPI. The font is made at its window's DPI (CreateUnitFont).
LONG HeightFromPoints(int32_t size) {
    const double points = size < 0 ? 0 : size;
    return -static_cast<LONG>(std::lround(points * kUnitDpi / 72.0));
}

int32_t PointsFromHeight(LONG height) {
    return static_cast<int32_t>(std::lround(std::labs(height) * 72.0 / kUnitDpi));
}

void SetFace(LOGFONTA *font, const char *face, bool emptyStaysEmpty) {
    const size_t length = face != nullptr ? std::strlen(face) : 0;
    std::memset(font->lfFaceName, 0, sizeof(font->lfFaceName));
    if (length == 0 && emptyStaysEmpty)
        return;
    const char *chosen = length >= 1 && length <= kLongestFace ? face : kDefaultFace;
    std::memcpy(font->lfFaceName, chosen, std::strlen(chosen));
}

char *NewText(const char *text) {
    const size_t length = std::strlen(text);
    if (length == 0)
        return nullptr;
    auto *copy = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(length + 1)));
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

void WriteFontField(LOGFONTA *font, int32_t subIndex, uint32_t low) {
    switch (subIndex) {
    case 0: {
        int32_t angle = static_cast<int32_t>(low) % kFullCircle;
        if (angle < 0)
            angle += kFullCircle;
        font->lfEscapement = font->lfOrientation = angle;
        break;
    }
    case 1:
        font->lfWeight = low != 0 ? kBoldWeight : 0;
        break;
    case 2:
        font->lfItalic = static_cast<BYTE>(low);
        break;
    case 3:
        font->lfStrikeOut = static_cast<BYTE>(low);
        break;
    case 4:
        font->lfUnderline = static_cast<BYTE>(low);
        break;
    case 5:
        font->lfHeight = HeightFromPoints(static_cast<int32_t>(low));
        break;
    case 6:
        SetFace(font, reinterpret_cast<const char *>(low), false);
        break;
    default:
        break;
    }
}

uint64_t ReadFontField(const LOGFONTA &font, int32_t subIndex) {
    switch (subIndex) {
    case 0:
        return static_cast<uint32_t>(font.lfOrientation);
    case 1:
        return font.lfWeight >= kBoldWeight;
    case 2:
        return font.lfItalic != 0;
    case 3:
        return font.lfStrikeOut != 0;
    case 4:
        return font.lfUnderline != 0;
    case 5:
        return static_cast<uint32_t>(PointsFromHeight(font.lfHeight));
    case 6: {
        char face[LF_FACESIZE + 1] = {};
        std::memcpy(face, font.lfFaceName, LF_FACESIZE);
        return reinterpret_cast<uint32_t>(NewText(face));
    }
    default:
        return 0;
    }
}

void FontFromRecord(const ProgramFontRecord *record, LOGFONTA *font) {
    std::memset(font, 0, sizeof(*font));
    if (record == nullptr)
        return;
    font->lfEscapement = font->lfOrientation = static_cast<LONG>(record->angle);
    font->lfWeight = record->bold != 0 ? kBoldWeight : 0;
    font->lfItalic = static_cast<BYTE>(record->italic);
    font->lfStrikeOut = static_cast<BYTE>(record->strikeOut);
    font->lfUnderline = static_cast<BYTE>(record->underline);
    font->lfHeight = HeightFromPoints(record->size);
    // Whole fonts take names shorter than 31 bytes; an empty name stays empty.
    const size_t length = record->faceName != nullptr ? std::strlen(record->faceName) : 0;
    if (length > 0 && length < kLongestFace)
        SetFace(font, record->faceName, true);
    else if (length > 0)
        SetFace(font, kDefaultFace, true);
}

ProgramFontRecord *NewFontRecord(const LOGFONTA &font) {
    auto *record = static_cast<ProgramFontRecord *>(AllocateMemory(sizeof(ProgramFontRecord)));
    record->angle = static_cast<uint32_t>(font.lfOrientation);
    record->bold = font.lfWeight >= kBoldWeight;
    record->italic = font.lfItalic != 0;
    record->strikeOut = font.lfStrikeOut != 0;
    record->underline = font.lfUnderline != 0;
    record->size = PointsFromHeight(font.lfHeight);
    record->faceName =
        reinterpret_cast<const char *>(static_cast<uint32_t>(ReadFontField(font, 6)));
    return record;
}

void DefaultGuiFont(LOGFONTA *font) {
    std::memset(font, 0, sizeof(*font));
    LOGFONTW wide = {};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof wide, &wide) == 0)
        return;
    // Every field up to the face name has the same layout in both forms.
    std::memcpy(font, &wide, offsetof(LOGFONTW, lfFaceName));
    // The stock font is made at the system's DPI; the record holds units.
    font->lfHeight = PixelsToUnits(font->lfHeight, SystemDpi());
    font->lfWidth = PixelsToUnits(font->lfWidth, SystemDpi());
    const std::wstring_view face(wide.lfFaceName, wcsnlen(wide.lfFaceName, LF_FACESIZE));
    WideToProgramText(face, font->lfFaceName, LF_FACESIZE - 1);
}

LOGFONTW WideLogicalFont(const LOGFONTA &font) {
    LOGFONTW wide = {};
    std::memcpy(&wide, &font, offsetof(LOGFONTA, lfFaceName));
    const std::string_view face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    ProgramTextToWide(face, wide.lfFaceName, LF_FACESIZE - 1);
    return wide;
}
