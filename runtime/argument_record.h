// ArgumentRecord: the 12-byte typed value in which kernel commands take their arguments and
// return their result, and the signature every kernel command shares.
#pragma once

#include <cstdint>

#pragma pack(push, 4)
struct ArgumentRecord {
    uint32_t low;  // the value's low word; values of 4 bytes or less and all addresses
    uint32_t high; // the value's high word; 0 unless the value has 8 bytes
    uint32_t type; // TypeCode; 0 for an omitted optional argument
};
#pragma pack(pop)
static_assert(sizeof(ArgumentRecord) == 12, "argument records are 12 bytes");

// A kernel command: result record (zeroed by the caller), argument count, first argument.
// The caller removes the three arguments (the C calling convention).
using KernelCommand = void (*)(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
