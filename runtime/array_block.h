// Array blocks: 4 bytes of dimension count, 4 per dimension size, then the elements. Their
// length in the constant segment and the release of an array value.
#pragma once

#include <cstdint>

// The length in bytes of the array block at a constant address, read only within the constant
// segment. A block whose header or elements would reach past the segment's end (a corrupt
// constant) gives the bytes up to that end, so a copy never reads outside the segment.
uint32_t ConstantArrayLength(const void *block, uint32_t elementSize);

// Frees an array value whose elements have elementType (the array bit ignored): text and
// byte-set elements are freed first, then the block. A null array does nothing.
void FreeArrayValue(uint32_t elementType, void *array);
