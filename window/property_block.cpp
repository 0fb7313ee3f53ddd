// PropertyBlock field encodings.
#include "window/property_block.h"

#include <cstring>

std::string ReadBlockText(ArchiveReader &in) {
    const int32_t length = static_cast<int32_t>(in.ReadWord());
    if (length <= 0)
        return std::string();
    const uint8_t *bytes = in.Take(static_cast<size_t>(length));
    // A text ends at its first 0 byte, as every program text does.
    return std::string(reinterpret_cast<const char *>(bytes),
                       strnlen(reinterpret_cast<const char *>(bytes), length));
}

std::vector<uint8_t> ReadBlockBytes(ArchiveReader &in) {
    const int32_t length = static_cast<int32_t>(in.ReadWord());
    if (length <= 0)
        return {};
    const uint8_t *bytes = in.Take(static_cast<size_t>(length));
    return std::vector<uint8_t>(bytes, bytes + length);
}

void WriteBlockText(ArchiveWriter &out, const std::string &text) {
    out.WriteWord(static_cast<uint32_t>(text.size()));
    out.WriteBytes(text.data(), text.size());
}

void WriteBlockBytes(ArchiveWriter &out, const std::vector<uint8_t> &bytes) {
    out.WriteWord(static_cast<uint32_t>(bytes.size()));
    out.WriteBytes(bytes.data(), bytes.size());
}

HGLOBAL ToMovableBlock(const ArchiveWriter &out) {
    const auto &bytes = out.Bytes();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (block == nullptr)
        return nullptr;
    if (!bytes.empty())
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size()), GlobalUnlock(block);
    return block;
}
