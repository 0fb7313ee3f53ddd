// The runtime heap: every program value (text, byte set, array, object record) lives here.
// Allocation never returns null; failure is reported and ends the process.
#pragma once

#include <cstdint>

void *AllocateMemory(uint32_t bytes);
// A null block allocates; a block inside the constant segment is copied out first.
void *ReallocateMemory(void *block, uint32_t bytes);
// Null and blocks inside the constant segment are ignored.
void FreeMemory(void *block);

// The half-open range [start, start + size) of the program's constant segment. A size of 0
// (or ForgetConstantSegment) leaves the range empty.
void SetConstantSegment(const void *start, uint32_t size);
void ForgetConstantSegment();
bool IsConstantAddress(const void *address);
// Bytes from address to the end of the constant segment (0 outside it).
uint32_t ConstantBytesFrom(const void *address);
