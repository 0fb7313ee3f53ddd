// TextBuilder: appends byte runs into one runtime-heap block that grows geometrically, so a
// result of n bytes costs O(n) however it is pieced together.
#pragma once

#include <cstdint>

#include "values/value_blocks.h"

class TextBuilder {
public:
    // expectedLength is a first guess at the result's length; it may be exceeded.
    explicit TextBuilder(uint32_t expectedLength);
    TextBuilder(const TextBuilder &) = delete;
    TextBuilder &operator=(const TextBuilder &) = delete;
    ~TextBuilder();

    void Append(const void *bytes, uint32_t length);
    uint32_t Length() const { return length_; }
    // The text built so far, trimmed to its length, or null when empty. The builder is then
    // empty again.
    Text Finish();

private:
    char *block_ = nullptr;
    uint32_t capacity_ = 0; // bytes available before the terminating NUL
    uint32_t length_ = 0;
};
