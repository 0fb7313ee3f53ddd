// JoinedText, on the runtime heap through the program's service calls.
#include "app/web/joined_text.h"

#include <algorithm>

#include "app/web/program_text.h"

namespace web {

namespace {
constexpr uint32_t kFirstCapacity = 256;
} // namespace

JoinedText::~JoinedText() {
    FreeMemory(block_);
}

void JoinedText::Add(std::string_view item) {
    if (!empty_) {
        Append(separator_);
    }
    Append(item);
    empty_ = false;
}

Text JoinedText::Finish() {
    if (length_ == 0) {
        empty_ = true;
        return nullptr;
    }
    Text list = static_cast<Text>(ReallocateMemory(block_, length_ + 1));
    list[length_] = '\0';
    block_ = nullptr;
    length_ = 0;
    capacity_ = 0;
    empty_ = true;
    return list;
}

void JoinedText::Append(std::string_view bytes) {
    const auto count = static_cast<uint32_t>(bytes.size());
    if (length_ + count + 1 > capacity_) {
        capacity_ = std::max({kFirstCapacity, capacity_ * 2, length_ + count + 1});
        block_ = static_cast<char *>(ReallocateMemory(block_, capacity_));
    }
    bytes.copy(block_ + length_, count);
    length_ += count;
}

} // namespace web
