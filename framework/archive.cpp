// Little-endian reads and writes of the bounded archives.
#include "framework/archive.h"

#include <cstring>

const uint8_t *ArchiveReader::Take(size_t count) {
    if (count > Remaining()) {
        throw ArchiveException("read past the end of the archive");
    }
    const uint8_t *at = next_;
    next_ += count;
    return at;
}

const uint8_t *ArchiveReader::TakeElements(uint32_t count, size_t elementBytes) {
    if (elementBytes != 0 && count > Remaining() / elementBytes) {
        throw ArchiveException("element count past the end of the archive");
    }
    return Take(count * elementBytes);
}

const char *ArchiveReader::TakeZeroTerminated() {
    const void *terminator = Remaining() == 0 ? nullptr : std::memchr(next_, 0, Remaining());
    if (terminator == nullptr) {
        throw ArchiveException("unterminated text at the end of the archive");
    }
    const size_t length = static_cast<const uint8_t *>(terminator) - next_ + 1;
    return reinterpret_cast<const char *>(Take(length));
}

uint32_t ArchiveReader::ReadWord() {
    const uint8_t *b = Take(4);
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

uint16_t ArchiveReader::ReadHalfWord() {
    const uint8_t *b = Take(2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint8_t ArchiveReader::ReadByte() {
    return *Take(1);
}

void ArchiveReader::ReadBytes(void *into, size_t count) {
    if (count != 0) {
        std::memcpy(into, Take(count), count);
    }
}

void ArchiveWriter::WriteWord(uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<uint8_t>(word >> shift));
    }
}

void ArchiveWriter::WriteHalfWord(uint16_t half) {
    bytes_.push_back(static_cast<uint8_t>(half));
    bytes_.push_back(static_cast<uint8_t>(half >> 8));
}

void ArchiveWriter::WriteBytes(const void *data, size_t count) {
    const auto *b = static_cast<const uint8_t *>(data);
    bytes_.insert(bytes_.end(), b, b + count);
}
