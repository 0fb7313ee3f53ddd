// Canonical units for IgnoreCase matching, block by block.
#include "regex/engine/case_folding.h"

#include <bitset>

namespace RegexEngine {
namespace {

char16_t Unit(uint32_t c) {
    return static_cast<char16_t>(c);
}

// Pairs in which the upper-case letter has the even code (Latin Extended-A and Cyrillic).
char16_t EvenIsUpper(char16_t c) {
    return Unit(c & ~1u);
}
// Pairs in which the upper-case letter has the odd code.
char16_t OddIsUpper(char16_t c) {
    return c % 2 == 0 ? Unit(c - 1) : c;
}

char16_t CanonicalizeLatin1(char16_t c) {
    if (c == 0xB5) {
        return 0x39C; // micro sign: its upper case is Greek capital mu
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return Unit(c - 0x20);
    }
    return c;
}

char16_t CanonicalizeLatinExtendedA(char16_t c) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
        return c;
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return EvenIsUpper(c);
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return OddIsUpper(c);
    }
    return c;
}

char16_t CanonicalizeGreek(char16_t c) {
    if (c == 0x3C2) {
        return 0x3A3; // final sigma
    }
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) {
        return Unit(c - 0x20);
    }
    if (c == 0x3AC) {
        return 0x386;
    }
    if (c >= 0x3AD && c <= 0x3AF) {
        return Unit(c - 0x25);
    }
    if (c == 0x3CC) {
        return 0x38C;
    }
    if (c == 0x3CD || c == 0x3CE) {
        return Unit(c - 0x3F);
    }
    return c;
}

char16_t CanonicalizeCyrillic(char16_t c) {
    if (c >= 0x430 && c <= 0x44F) {
        return Unit(c - 0x20);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return Unit(c - 0x50);
    }
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        return EvenIsUpper(c);
    }
    if (c == 0x4CF) {
        return 0x4C0;
    }
    if (c >= 0x4C1 && c <= 0x4CE) {
        return OddIsUpper(c);
    }
    return c;
}

} // namespace

char16_t Canonicalize(char16_t c) {
    if (c < 0x80) {
        return c >= u'a' && c <= u'z' ? Unit(c - 0x20) : c;
    }
    if (c < 0x100) {
        return CanonicalizeLatin1(c);
    }
    if (c < 0x180) {
        return CanonicalizeLatinExtendedA(c);
    }
    if (c >= 0x370 && c < 0x400) {
        return CanonicalizeGreek(c);
    }
    if (c >= 0x400 && c < 0x530) {
        return CanonicalizeCyrillic(c);
    }
    if (c >= 0xFF41 && c <= 0xFF5A) {
        return Unit(c - 0x20);
    }
    return c;
}

bool HasCasePartner(char16_t c) {
    static const std::bitset<0x10000> partnered = [] {
        std::bitset<0x10000> units;
        ForEachFoldingUnit([&](char16_t unit) {
            if (Canonicalize(unit) != unit) {
                units.set(unit);
                units.set(Canonicalize(unit));
            }
        });
        return units;
    }();
    return partnered.test(c);
}

} // namespace RegexEngine
