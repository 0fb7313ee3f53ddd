// Word-at-a-time scanning of code page 936 text: finding bytes, telling character starts from
// trail bytes, and folding letter case four bytes a step. Plain 32-bit arithmetic on
// little-endian words, because the i686 targets have no SSE2 unless it is asked for; on
// processors that have it, each of the three takes sixteen bytes a step with SSE2.
#pragma once

#include <cstdint>

// How many bytes with the high bit set stand directly in front of text[at], counting back no
// further than text[floor].
uint32_t HighByteRunBefore(const uint8_t *text, uint32_t floor, uint32_t at);

// Whether text[at] begins a character, given that text[knownStart] does (knownStart <= at).
// The position behind a byte below 0x80 always begins a character (that byte ends one, as a
// single byte or as a trail byte), and from there on high bytes pair up as lead and trail: so
// text[at] begins a character exactly when the run of high bytes in front of it, back to such
// a position or to knownStart, has even length.
inline bool StartsCharacter(const uint8_t *text, uint32_t knownStart, uint32_t at) {
    return HighByteRunBefore(text, knownStart, at) % 2 == 0;
}

// The first offset in [from, end) whose byte is first or second; end when there is none.
// Requires from <= end.
uint32_t FindEitherByte(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                        uint8_t second);

// Writes the length bytes of from to to, each byte A to Z that begins a character turned into
// its lower-case letter. from[0] begins a character.
void CopyWithLowerCaseLetters(const uint8_t *from, uint32_t length, uint8_t *to);
