// Conventions of program code: optional parameters, checked array element access and the
// checked selection index. Failures are runtime errors that end the program.
#pragma once

#include <cstdint>

// An optional parameter of a program routine: the value (for a by-reference parameter the
// address of the caller's variable), then whether the caller supplied it.
struct OptionalArgument {
    uint32_t value;
    uint32_t givenFlag; // 1 when supplied, 0 when left out
};

// The address of element index (1-based) of an array block of elements of elementSize bytes.
// An index below 1 raises runtime error 4, one above the element count runtime error 1.
void *CheckedElementAddress(const void *array, int32_t index, uint32_t elementSize);
// Checks the index (0-based) of a selection among count values; outside them raises runtime
// error 9. Returns the index.
int32_t CheckedSelectionIndex(int32_t index, int32_t count);
