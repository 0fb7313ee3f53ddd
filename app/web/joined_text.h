// JoinedText: a list of texts joined by a separator, built in one heap block that grows
// geometrically, so that a list of n bytes costs time in proportion to n, where concatenating
// the list anew for every item would cost its square.
#pragma once

#include <cstdint>
#include <string_view>

#include "values/value_blocks.h"

namespace web {

class JoinedText {
public:
    // separator stands between every two items; it must outlive the builder.
    explicit JoinedText(const char *separator) : separator_(separator) {}
    JoinedText(const JoinedText &) = delete;
    JoinedText &operator=(const JoinedText &) = delete;
    ~JoinedText();

    // Adds an item (an empty one counts, so separators still surround it).
    void Add(std::string_view item);

    // The joined list, or null when it is the empty text; the block then belongs to the caller
    // and the builder is empty again.
    Text Finish();

private:
    void Append(std::string_view bytes);

    const char *separator_;
    char *block_ = nullptr;
    uint32_t length_ = 0;
    uint32_t capacity_ = 0; // bytes of block_, room for the NUL included
    bool empty_ = true;     // no item added yet
};

} // namespace web
