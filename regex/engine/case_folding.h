// Simple one-to-one case folding for IgnoreCase: every letter of ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic and fullwidth Latin maps to one canonical (upper-case) unit.
#pragma once

#include <cstdint>

namespace RegexEngine {

// The canonical unit of c. As in ECMAScript, a letter whose upper case is more than one unit
// (German sharp s) or lies in ASCII while the letter does not (dotless i, long s) stays itself.
char16_t Canonicalize(char16_t c);

// Whether some other unit has the same canonical unit as c.
bool HasCasePartner(char16_t c);

// Calls visit(c) for every unit that has a case partner, so that a character class can be
// closed under folding without walking all 65,536 units.
template <typename Visit> void ForEachFoldingUnit(Visit visit) {
    static constexpr char16_t kRanges[][2] = {
        {0x41, 0x5A},   {0x61, 0x7A},   {0xB5, 0xB5},     {0xC0, 0x17F},
        {0x386, 0x3CE}, {0x400, 0x52F}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A},
    };
    for (const auto &range : kRanges) {
        for (uint32_t c = range[0]; c <= range[1]; ++c) {
            visit(static_cast<char16_t>(c));
        }
    }
}

} // namespace RegexEngine
