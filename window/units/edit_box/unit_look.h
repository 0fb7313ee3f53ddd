// Colours and fonts as the edit box and the label store them: 0xFF000000 for the system's
// button-face colour, and a 60-byte logical-font record or nothing for the default GUI font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

constexpr uint32_t kButtonFaceColour = 0xFF000000;

COLORREF ResolveUnitColour(uint32_t colour);
// A new font from a 60-byte record with the character set forced to DEFAULT_CHARSET, output and
// clip precision 0, PROOF_QUALITY and pitch-and-family 0; null for any other length.
HFONT CreateUnitFont(const std::vector<uint8_t> &record);
