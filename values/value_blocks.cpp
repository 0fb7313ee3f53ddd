// Making and reading Text, ByteSet and array blocks on the runtime heap.
#include "values/value_blocks.h"

#include <cstring>

#include "runtime/heap.h"

Text NewText(const void *bytes, uint32_t length) {
    if (length == 0) {
        return nullptr;
    }
    auto *text = static_cast<char *>(AllocateMemory(length + 1));
    std::memcpy(text, bytes, length);
    text[length] = '\0';
    return text;
}

Text FinishText(char *block, uint32_t length, uint32_t capacity) {
    if (length == 0) {
        FreeMemory(block);
        return nullptr;
    }
    block[length] = '\0';
    if (length == capacity) {
        return block;
    }
    return static_cast<char *>(ReallocateMemory(block, length + 1));
}

Text NewFilledText(char fill, uint32_t length) {
    if (length == 0) {
        return nullptr;
    }
    auto *text = static_cast<char *>(AllocateMemory(length + 1));
    std::memset(text, fill, length);
    text[length] = '\0';
    return text;
}

uint32_t TextByteLength(const char *text) {
    return text == nullptr ? 0 : static_cast<uint32_t>(std::strlen(text));
}

ByteSet NewByteSet(const void *bytes, uint32_t count) {
    if (count == 0) {
        return nullptr;
    }
    auto *set = static_cast<ByteSetHeader *>(AllocateMemory(sizeof(ByteSetHeader) + count));
    set->dimensionCount = 1;
    set->byteCount = count;
    auto *data = reinterpret_cast<uint8_t *>(set + 1);
    if (bytes != nullptr) {
        std::memcpy(data, bytes, count);
    } else {
        std::memset(data, 0, count);
    }
    return set;
}

uint32_t ByteSetCount(const ByteSetHeader *set) {
    return set == nullptr ? 0 : set->byteCount;
}

const uint8_t *ByteSetBytes(const ByteSetHeader *set) {
    return set == nullptr ? nullptr : reinterpret_cast<const uint8_t *>(set + 1);
}

TextArrayHeader *NewTextArray(uint32_t elementCount) {
    const uint32_t bytes = sizeof(TextArrayHeader) + elementCount * sizeof(Text);
    auto *array = static_cast<TextArrayHeader *>(AllocateMemory(bytes));
    array->dimensionCount = 1;
    array->elementCount = elementCount;
    std::memset(array + 1, 0, elementCount * sizeof(Text));
    return array;
}

Text *TextArrayElements(TextArrayHeader *array) {
    return reinterpret_cast<Text *>(array + 1);
}

void FreeTextArray(TextArrayHeader *array) {
    if (array == nullptr) {
        return;
    }
    const ArrayExtent extent = ReadArrayExtent(array);
    auto *elements = reinterpret_cast<Text *>(extent.elements);
    // Last first: the elements were most likely allocated in order, and a heap hands back the
    // most recent block most cheaply (the C library's merges it into the heap's top instead of
    // coalescing a growing free block that it then returns to the system).
    for (uint32_t i = extent.count; i-- > 0;) {
        FreeMemory(elements[i]);
    }
    FreeMemory(array);
}

ArrayExtent ReadArrayExtent(const void *array) {
    const auto *header = static_cast<const ArrayHeader *>(array);
    const auto *sizes = reinterpret_cast<const uint32_t *>(header + 1);
    uint64_t count = header->dimensionCount == 0 ? 0 : 1;
    for (uint32_t d = 0; d < header->dimensionCount && count != 0; ++d) {
        count *= sizes[d];
        if (count > UINT32_MAX) {
            count = 0;
        }
    }
    auto *elements =
        reinterpret_cast<uint8_t *>(const_cast<uint32_t *>(sizes) + header->dimensionCount);
    return ArrayExtent{static_cast<uint32_t>(count), elements};
}
