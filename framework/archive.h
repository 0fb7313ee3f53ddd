// Bounded binary archives: the reader walks a byte range and throws ArchiveException on any read
// past its end, so a corrupt or truncated stream can never make a caller read outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

class ArchiveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ArchiveReader {
public:
    ArchiveReader(const void *data, size_t size)
        : next_(static_cast<const uint8_t *>(data)), end_(next_ + size) {}

    size_t Remaining() const { return static_cast<size_t>(end_ - next_); }
    uint32_t ReadWord();
    uint16_t ReadHalfWord();
    uint8_t ReadByte();
    void ReadBytes(void *into, size_t count);
    // The address of the next count bytes, which the caller reads in place; advances past them.
    const uint8_t *Take(size_t count);
    void Skip(size_t count) { Take(count); }
    // The address of count elements of elementBytes each; the count is checked against the bytes
    // left before it is multiplied, so an absurd count cannot overflow.
    const uint8_t *TakeElements(uint32_t count, size_t elementBytes);
    // The address of a 0-terminated byte string, terminator included; advances past it.
    const char *TakeZeroTerminated();

private:
    const uint8_t *next_;
    const uint8_t *end_;
};

class ArchiveWriter {
public:
    void WriteWord(uint32_t word);
    void WriteHalfWord(uint16_t half);
    void WriteByte(uint8_t byte) { bytes_.push_back(byte); }
    void WriteBytes(const void *data, size_t count);
    const std::vector<uint8_t> &Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};
