// Colours and fonts as the edit box and the label store them: 0xFF000000 for the system's
// button-face colour, and a 60-byte logical-font record or nothing for the default GUI font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

constexpr uint32_t kButtonFaceColour = 0xFF000000;

COLORREF ResolveUnitColour(uint32_t colour);
// A new font from a 60-byte record with the character set forced to the program's (UnitCharSet),
// output and clip precision 0, PROOF_QUALITY and pitch-and-family 0, its sizes (units) made at
// dpi; null for any other length.
HFONT CreateUnitFont(const std::vector<uint8_t> &record, int dpi);
// The character set that unit fonts ask for: DEFAULT_CHARSET, which is the Chinese one on a
// system whose code page is 936; on any other system the Chinese one itself, so that the font
// chosen draws the program's texts rather than empty boxes.
BYTE UnitCharSet();
// The font of a unit without a font of its own: the stock DEFAULT_GUI_FONT, or on a system whose
// code page is not 936, that font asked for in the Chinese character set (made once, kept for
// the process like a stock object). At a DPI other than the system's, that font at the DPI's size
// (made once for each DPI, kept alike).
HFONT DefaultUnitFont(int dpi);
