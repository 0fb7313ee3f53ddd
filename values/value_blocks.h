// The layouts of Text, ByteSet and array blocks, and the routines that make and read them.
// Every block comes from the runtime heap; an empty Text or ByteSet is null, never a block.
#pragma once

#include <cstdint>

// Code page 936 bytes ended by one zero byte, or null for the empty text.
using Text = char *;

// The head of a byte set; the bytes follow it. A byte set is a one-dimensional byte array.
struct ByteSetHeader {
    uint32_t dimensionCount; // always 1
    uint32_t byteCount;
};
using ByteSet = ByteSetHeader *;

// The head of an array block: the dimension count, then one size word per dimension, then the
// elements.
struct ArrayHeader {
    uint32_t dimensionCount;
};

// A one-dimensional array of Text addresses, as SplitText returns it.
struct TextArrayHeader {
    uint32_t dimensionCount; // 1
    uint32_t elementCount;
};

// A new text of length bytes copied from bytes; null when length is 0.
Text NewText(const void *bytes, uint32_t length);
// Ends a text written into a block of capacity + 1 bytes: puts the NUL behind its length
// bytes and trims the block to fit. Frees the block and gives null when length is 0.
Text FinishText(char *block, uint32_t length, uint32_t capacity);
// A new text of length bytes, all set to fill; null when length is 0.
Text NewFilledText(char fill, uint32_t length);
// The byte length of a text; 0 for null.
uint32_t TextByteLength(const char *text);

// A new byte set of count bytes copied from bytes (zeros when bytes is null); null when count
// is 0.
ByteSet NewByteSet(const void *bytes, uint32_t count);
uint32_t ByteSetCount(const ByteSetHeader *set);
const uint8_t *ByteSetBytes(const ByteSetHeader *set);

// An array block of elementCount Text addresses, all null; always allocated.
TextArrayHeader *NewTextArray(uint32_t elementCount);
Text *TextArrayElements(TextArrayHeader *array);
// Frees every element and then the block; null is ignored.
void FreeTextArray(TextArrayHeader *array);

// The element count of an array block (the product of its dimension sizes, 0 without
// dimensions) and the address of its first element. A count that does not fit 32 bits reads
// as 0: no block of that size can exist.
struct ArrayExtent {
    uint32_t count;
    uint8_t *elements;
};
ArrayExtent ReadArrayExtent(const void *array);
