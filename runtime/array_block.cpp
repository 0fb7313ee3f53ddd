// The bounded length of an array block in the constant segment.
#include "runtime/array_block.h"

#include <cstring>

#include "runtime/heap.h"

uint32_t ConstantArrayLength(const void *block, uint32_t elementSize) {
    const uint32_t available = ConstantBytesFrom(block);
    const auto *bytes = static_cast<const uint8_t *>(block);
    if (available < 4) {
        return available;
    }
    uint32_t dimensions;
    std::memcpy(&dimensions, bytes, 4);
    uint64_t length = 4 + 4ull * dimensions;
    if (length > available) {
        return available;
    }
    uint64_t elements = 1;
    for (uint32_t i = 0; i < dimensions; ++i) {
        uint32_t size;
        std::memcpy(&size, bytes + 4 + 4 * i, 4);
        elements *= size;
        if (elements > available) {
            return available;
        }
    }
    length += elements * elementSize;
    return length > available ? available : static_cast<uint32_t>(length);
}
