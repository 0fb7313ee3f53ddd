// The bounded length of a constant array block and the release of array values.
#include "runtime/array_block.h"

#include <cstring>

#include "runtime/heap.h"

namespace {

constexpr uint32_t kArrayTypeBit = 0x20000000;
constexpr uint32_t kTextType = 0x80000004;
constexpr uint32_t kByteSetType = 0x80000005;

} // namespace

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

void FreeArrayValue(uint32_t elementType, void *array) {
    if (array == nullptr) {
        return;
    }
    const uint32_t type = elementType & ~kArrayTypeBit;
    if (type == kTextType || type == kByteSetType) {
        const auto *words = static_cast<const uint32_t *>(array);
        const uint32_t dimensions = words[0];
        uint64_t elements = 1;
        for (uint32_t i = 0; i < dimensions; ++i) {
            elements *= words[1 + i];
        }
        void *const *element = reinterpret_cast<void *const *>(words + 1 + dimensions);
        // Last first, as the elements were most likely allocated: see FreeTextArray.
        for (uint64_t i = elements; i-- > 0;) {
            FreeMemory(element[i]);
        }
    }
    FreeMemory(array);
}
