// Reading the raw element bytes of byte sets and numeric arrays.
#include "values/raw_value_bytes.h"

#include "values/type_codes.h"
#include "values/value_blocks.h"

bool ReadBlockBytes(const ArgumentRecord &value, RawBytes *out) {
    *out = RawBytes{nullptr, 0};
    uint32_t elementSize = 0;
    if (value.type == kTypeByteSet) {
        elementSize = 1;
    } else if (IsArrayType(value.type) && IsNumericType(value.type)) {
        elementSize = NumericElementSize(value.type);
    } else {
        return false;
    }
    const void *block = reinterpret_cast<const void *>(static_cast<uintptr_t>(value.low));
    if (block == nullptr) {
        return true;
    }
    if (static_cast<const ArrayHeader *>(block)->dimensionCount != 1) {
        return false;
    }
    const ArrayExtent extent = ReadArrayExtent(block);
    const uint64_t count = static_cast<uint64_t>(extent.count) * elementSize;
    if (count > UINT32_MAX) {
        return false;
    }
    *out = RawBytes{extent.elements, static_cast<uint32_t>(count)};
    return true;
}
