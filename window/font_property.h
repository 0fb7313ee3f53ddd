// Fonts as properties: the 60-byte logical-font record of a unit, addressed whole through a
// seven-word font record or one field at a time.
#pragma once

#include <windows.h>

#include <cstdint>

// Program font record words: angle, bold, italic, strike-out, underline, size, face name text.
struct ProgramFontRecord {
    uint32_t angle;
    uint32_t bold;
    uint32_t italic;
    uint32_t strikeOut;
    uint32_t underline;
    int32_t size;
    const char *faceName;
};

// The sub-index that addresses the whole font through a font record.
constexpr int32_t kWholeFont = -1;
constexpr bool IsFontField(int32_t subIndex) {
    return subIndex >= 0 && subIndex <= 6;
}

// Applies a field (sub-index 0 to 6) of a written value to font.
void WriteFontField(LOGFONTA *font, int32_t subIndex, uint32_t low);
// A field as a program value (texts new).
uint64_t ReadFontField(const LOGFONTA &font, int32_t subIndex);
// A whole font from a program font record (null: none).
void FontFromRecord(const ProgramFontRecord *record, LOGFONTA *font);
// A new font record block (28 bytes, the face name a new text).
ProgramFontRecord *NewFontRecord(const LOGFONTA &font);
// The platform's default GUI font as a logical font.
void DefaultGuiFont(LOGFONTA *font);
// The record's logical font with its face name (program text) in UTF-16, for the wide font
// functions: the ANSI ones would read the name in the system's code page.
LOGFONTW WideLogicalFont(const LOGFONTA &font);
