// The raw bytes a value stands for when ToText and ToByteSet treat it as bytes: a byte set's
// bytes, a one-dimensional numeric array's element bytes, a number's in-memory bytes.
#pragma once

#include <cstdint>

#include "runtime/argument_record.h"

struct RawBytes {
    const uint8_t *bytes;
    uint32_t count;
};

// The element bytes of a byte set or of an array of a numeric type; {null, 0} for an empty or
// null block. Returns false for other types, arrays of other types and arrays of more than
// one dimension.
bool ReadBlockBytes(const ArgumentRecord &value, RawBytes *out);
