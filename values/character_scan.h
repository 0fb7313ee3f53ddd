// Word-at-a-time scanning of code page 936 text: finding bytes, telling character starts from
// trail bytes, folding letter case four bytes a step, and copies that leave out or replace the
// bytes found where characters begin. Plain 32-bit arithmetic on little-endian words, because
// the i686 targets have no SSE2 unless it is asked for; on processors that have it, each takes
// sixteen bytes a step with SSE2.
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

// Copies text[0, end) to to, leaving out each blank (see BlankWidthAt) that begins a character,
// and returns the number of bytes written. text[end - 1] must not be a lead byte that begins a
// character. May write up to end + 1 bytes, also past the bytes it returns.
uint32_t CopyWithoutBlanks(const uint8_t *text, uint32_t end, uint8_t *to);

// The walk of a sought byte over a NUL-terminated text from text[from] on, where a character
// begins, which finds the text's length on the way; text[0, from) must hold no NUL. It takes
// each byte that is first or second and begins a character, each search going on behind the
// previous match as from a character start, until limit matches. A lead byte directly before the
// NUL ends the walk and is no match. The offsets of the matches go to offsets while there is room
// for them (capacity); when it runs out before the end, the walk stops with full set, and can go
// on from end with more room. With a capacity of 0 it counts the matches without keeping them.
struct ByteMatchWalk {
    uint32_t count;  // the matches
    uint32_t end;    // behind the last match, or from
    uint32_t length; // the text's length, unless full
    bool full;       // the walk stopped with its offsets full
};
ByteMatchWalk WalkByteMatches(const uint8_t *text, uint32_t from, uint8_t first, uint8_t second,
                              uint32_t limit, uint32_t *offsets, uint32_t capacity);

// Copies text[from, walk.end) of that walk, over a text of the given length, to to with
// replacement in place of each of its first count matches (count no more than the walk found), and
// returns the number of bytes written. replacementLength >= 1; to must have room for length - from
// + count * (replacementLength - 1) bytes, which may be written past the bytes returned.
uint32_t CopyReplacingByteMatches(const uint8_t *text, uint32_t from, uint32_t length,
                                  uint8_t first, uint8_t second, uint32_t count,
                                  const uint8_t *replacement, uint32_t replacementLength,
                                  uint8_t *to);

// Copies text[from, offsets[count - 1] + 1) to to with replacement in place of the byte at each
// of the offsets (increasing, from from on), and returns the number of bytes written.
uint32_t CopyReplacingBytesAt(const uint8_t *text, uint32_t from, const uint32_t *offsets,
                              uint32_t count, const uint8_t *replacement,
                              uint32_t replacementLength, uint8_t *to);

// Writes the length bytes of from to to, each byte A to Z that begins a character turned into
// its lower-case letter. from[0] begins a character.
void CopyWithLowerCaseLetters(const uint8_t *from, uint32_t length, uint8_t *to);
