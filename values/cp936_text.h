// Character-aware stepping through code page 936 text: lead bytes, blanks, letter folding.
#pragma once

#include <cstdint>

// A double-byte character begins with a byte whose high bit is set.
constexpr bool IsLeadByte(uint8_t byte) {
    return (byte & 0x80) != 0;
}

inline constexpr uint8_t kFullWidthSpaceByte = 0xA1;

// The width of the blank at text[at] (1 for 0x20, 2 for 0xA1 0xA1), or 0 when none stands
// there. text[at + 1] is readable whenever text[at] is not the terminating NUL.
inline uint32_t BlankWidthAt(const uint8_t *text, uint32_t at) {
    if (text[at] == ' ') {
        return 1;
    }
    if (text[at] == kFullWidthSpaceByte && text[at + 1] == kFullWidthSpaceByte) {
        return 2;
    }
    return 0;
}

constexpr uint8_t FoldAsciiLetter(uint8_t byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<uint8_t>(byte + ('a' - 'A')) : byte;
}
