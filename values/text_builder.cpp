// TextBuilder over the runtime heap.
#include "values/text_builder.h"

#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"

namespace {

// The runtime heap counts in 32-bit sizes; a text cannot reach this length plus its NUL.
constexpr uint32_t kMaxTextLength = UINT32_MAX - 1;

} // namespace

TextBuilder::TextBuilder(uint32_t expectedLength) : capacity_(expectedLength) {
    if (capacity_ != 0) {
        block_ = static_cast<char *>(AllocateMemory(capacity_ + 1));
    }
}

TextBuilder::~TextBuilder() {
    FreeMemory(block_);
}

void TextBuilder::Append(const void *bytes, uint32_t length) {
    if (length == 0) {
        return;
    }
    if (length > kMaxTextLength - length_) {
        ReportMemoryFailure(UINT32_MAX);
    }
    const uint32_t needed = length_ + length;
    if (needed > capacity_) {
        uint32_t grown = capacity_ < kMaxTextLength / 2 ? capacity_ * 2 : kMaxTextLength;
        if (grown < needed) {
            grown = needed;
        }
        block_ = static_cast<char *>(ReallocateMemory(block_, grown + 1));
        capacity_ = grown;
    }
    std::memcpy(block_ + length_, bytes, length);
    length_ = needed;
}

Text TextBuilder::Finish() {
    char *block = block_;
    const uint32_t length = length_;
    const uint32_t capacity = capacity_;
    block_ = nullptr;
    capacity_ = 0;
    length_ = 0;
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
