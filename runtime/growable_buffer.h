// GrowableBuffer: the runtime's growable byte buffer on the process heap. Every (re)allocation
// keeps 128 bytes of slack, and shrinking gives memory back only when more than 256 bytes would
// lie idle, so that appending element by element reallocates rarely. Failures are results
// (null or false), never reports: callers decide.
#pragma once

#include <cstdint>

class ArchiveReader;
class ArchiveWriter;

class GrowableBuffer {
public:
    static constexpr uint32_t kSlackBytes = 128;
    static constexpr uint32_t kIdleLimitBytes = 256;
    // The largest size whose block, slack included, a 32-bit capacity can count. A larger one
    // is refused like an allocation the heap cannot give.
    static constexpr uint32_t kMaximumSize = UINT32_MAX - kSlackBytes;

    GrowableBuffer() = default;
    GrowableBuffer(const GrowableBuffer &) = delete;
    GrowableBuffer &operator=(const GrowableBuffer &) = delete;
    ~GrowableBuffer() { Free(); }

    uint8_t *Data() const { return data_; }
    uint32_t Capacity() const { return capacity_; }
    uint32_t Size() const { return size_; }

    uint8_t *Reserve(uint32_t n);
    uint8_t *Resize(uint32_t n);
    void Free();
    // Appends len bytes, or len zero bytes when bytes is null. len <= 0 succeeds at once.
    bool Append(const void *bytes, int32_t len);
    bool AppendWord(uint32_t word);
    bool AppendHalfWord(uint16_t half);
    bool AppendByte(uint8_t byte);
    // Inserts len bytes (zero bytes when bytes is null) at offset at, which is not beyond the end.
    bool Insert(uint32_t at, const void *bytes, uint32_t len);
    // Replaces count bytes at offset at (clipped to the end) by len bytes; len 0 removes.
    bool Replace(uint32_t at, uint32_t count, const void *bytes, uint32_t len);
    // at = -1 removes count bytes from the end; an offset at or beyond the end fails.
    bool Remove(int32_t at, uint32_t count);
    // Index of the first of the first n 32-bit entries equal to word, or -1.
    int32_t FindWord(uint32_t word, uint32_t n) const;
    void Swap(GrowableBuffer &other);

    // 32-bit entry access for lists kept as buffers of words.
    uint32_t WordCount() const { return size_ / 4; }
    uint32_t WordAt(uint32_t index) const;
    void SetWordAt(uint32_t index, uint32_t word);

    // Serialized form: the size as a 32-bit word, then the bytes. Reading frees the data first;
    // a short stream or a failed reservation throws ArchiveException.
    void Serialize(ArchiveWriter &out) const;
    void Serialize(ArchiveReader &in);

    // Loads up to length bytes of a file (-1: all of it). Returns the bytes read, 0 for a length
    // <= 0, -1 on failure (the buffer is then empty).
    int32_t LoadFromFile(const char *path, int32_t length);
    // Writes min(size, length) bytes (-1: all) to a created or truncated file; exclusive unless
    // shared is set.
    bool SaveToFile(const char *path, int32_t length, bool shared) const;

private:
    uint8_t *data_ = nullptr;
    uint32_t capacity_ = 0;
    uint32_t size_ = 0;
};
