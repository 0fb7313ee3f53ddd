// GrowableBuffer operations on the process heap.
#include "runtime/growable_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "framework/archive.h"
#include "runtime/process_heap.h"

namespace {

// The size of a buffer of size bytes grown by more; UINT32_MAX, which no buffer can reach, when
// the sum does not fit 32 bits.
uint32_t GrownSize(uint32_t size, uint32_t more) {
    return more > UINT32_MAX - size ? UINT32_MAX : size + more;
}

// Copies or zero-fills; 1, 2 and 4 bytes are single stores.
void PutBytes(uint8_t *at, const void *bytes, uint32_t len) {
    if (bytes == nullptr) {
        std::memset(at, 0, len);
    } else {
        std::memmove(at, bytes, len);
    }
}

} // namespace

uint8_t *GrowableBuffer::Reserve(uint32_t n) {
    if (data_ != nullptr) {
        return Resize(n);
    }
    if (n == 0) {
        return nullptr;
    }
    data_ = n <= kMaximumSize ? static_cast<uint8_t *>(ProcessHeapAlloc(n + kSlackBytes)) : nullptr;
    if (data_ == nullptr) {
        capacity_ = size_ = 0;
        return nullptr;
    }
    capacity_ = n + kSlackBytes;
    size_ = n;
    return data_;
}

uint8_t *GrowableBuffer::Resize(uint32_t n) {
    if (n == 0) {
        Free();
        return nullptr;
    }
    if (data_ == nullptr) {
        return Reserve(n);
    }
    if (capacity_ >= n && capacity_ - n <= kIdleLimitBytes) {
        size_ = n;
        return data_;
    }
    if (n > kMaximumSize) {
        return nullptr;
    }
    auto *moved = static_cast<uint8_t *>(ProcessHeapRealloc(data_, n + kSlackBytes));
    if (moved == nullptr) {
        return nullptr;
    }
    data_ = moved;
    capacity_ = n + kSlackBytes;
    size_ = n;
    return data_;
}

void GrowableBuffer::Free() {
    ProcessHeapFree(data_);
    data_ = nullptr;
    capacity_ = size_ = 0;
}

bool GrowableBuffer::Append(const void *bytes, int32_t len) {
    if (len <= 0) {
        return true;
    }
    const uint32_t oldSize = size_;
    if (Resize(GrownSize(oldSize, static_cast<uint32_t>(len))) == nullptr) {
        return false;
    }
    PutBytes(data_ + oldSize, bytes, static_cast<uint32_t>(len));
    return true;
}

bool GrowableBuffer::AppendWord(uint32_t word) {
    if (capacity_ - size_ >= 4 && data_ != nullptr) {
        std::memcpy(data_ + size_, &word, 4);
        size_ += 4;
        return true;
    }
    return Append(&word, 4);
}

bool GrowableBuffer::AppendHalfWord(uint16_t half) {
    if (capacity_ - size_ >= 2 && data_ != nullptr) {
        std::memcpy(data_ + size_, &half, 2);
        size_ += 2;
        return true;
    }
    return Append(&half, 2);
}

bool GrowableBuffer::AppendByte(uint8_t byte) {
    if (capacity_ > size_ && data_ != nullptr) {
        data_[size_++] = byte;
        return true;
    }
    return Append(&byte, 1);
}

bool GrowableBuffer::Insert(uint32_t at, const void *bytes, uint32_t len) {
    if (len == 0) {
        return true;
    }
    if (at == size_) {
        return Append(bytes, static_cast<int32_t>(len));
    }
    const uint32_t oldSize = size_;
    if (Resize(GrownSize(std::max(at, oldSize), len)) == nullptr) {
        return false;
    }
    if (at < oldSize) {
        std::memmove(data_ + at + len, data_ + at, oldSize - at);
    }
    PutBytes(data_ + at, bytes, len);
    return true;
}

bool GrowableBuffer::Replace(uint32_t at, uint32_t count, const void *bytes, uint32_t len) {
    if (at > size_) {
        return false;
    }
    count = std::min(count, size_ - at);
    if (len == count) {
        if (len != 0) {
            PutBytes(data_ + at, bytes, len);
        }
        return true;
    }
    if (len < count) {
        if (len != 0) {
            PutBytes(data_ + at, bytes, len);
        }
        return Remove(static_cast<int32_t>(at + len), count - len);
    }
    const uint32_t oldSize = size_;
    const uint32_t grow = len - count;
    if (Resize(GrownSize(oldSize, grow)) == nullptr) {
        return false;
    }
    std::memmove(data_ + at + len, data_ + at + count, oldSize - at - count);
    PutBytes(data_ + at, bytes, len);
    return true;
}

bool GrowableBuffer::Remove(int32_t at, uint32_t count) {
    if (at == -1) {
        if (count >= size_) {
            Free();
        } else {
            Resize(size_ - count);
        }
        return true;
    }
    if (at < 0 || static_cast<uint32_t>(at) >= size_) {
        return false;
    }
    const auto from = static_cast<uint32_t>(at);
    count = std::min(count, size_ - from);
    if (count == size_) {
        Free();
        return true;
    }
    std::memmove(data_ + from, data_ + from + count, size_ - from - count);
    Resize(size_ - count);
    return true;
}

int32_t GrowableBuffer::FindWord(uint32_t word, uint32_t n) const {
    n = std::min(n, WordCount());
    for (uint32_t i = 0; i < n; ++i) {
        if (WordAt(i) == word) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void GrowableBuffer::Swap(GrowableBuffer &other) {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(size_, other.size_);
}

uint32_t GrowableBuffer::WordAt(uint32_t index) const {
    uint32_t word;
    std::memcpy(&word, data_ + 4 * index, 4);
    return word;
}

void GrowableBuffer::SetWordAt(uint32_t index, uint32_t word) {
    std::memcpy(data_ + 4 * index, &word, 4);
}

void GrowableBuffer::Serialize(ArchiveWriter &out) const {
    out.WriteWord(size_);
    out.WriteBytes(data_, size_);
}

void GrowableBuffer::Serialize(ArchiveReader &in) {
    Free();
    const uint32_t size = in.ReadWord();
    if (size == 0) {
        return;
    }
    if (size > in.Remaining() || Reserve(size) == nullptr) {
        throw ArchiveException("buffer does not fit");
    }
    in.ReadBytes(data_, size);
}
