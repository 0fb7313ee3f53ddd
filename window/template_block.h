// TemplateBlock: an owned copy of template bytes on the process heap. Copying reports failure
// to the caller instead of ending the process, so that a template load can fail as a whole.
#pragma once

#include <cstdint>
#include <span>

class TemplateBlock {
public:
    TemplateBlock() = default;
    TemplateBlock(const TemplateBlock &) = delete;
    TemplateBlock &operator=(const TemplateBlock &) = delete;
    TemplateBlock(TemplateBlock &&other) noexcept { Swap(other); }
    TemplateBlock &operator=(TemplateBlock &&other) noexcept;
    ~TemplateBlock() { Release(); }

    // Replaces the content with a copy of bytes; false (and empty) when the heap has no room.
    [[nodiscard]] bool Assign(std::span<const uint8_t> bytes);
    void Release();
    void Swap(TemplateBlock &other) noexcept;

    uint8_t *Data() { return data_; }
    const uint8_t *Data() const { return data_; }
    uint32_t Size() const { return size_; }
    std::span<const uint8_t> Bytes() const { return {data_, size_}; }

private:
    uint8_t *data_ = nullptr;
    uint32_t size_ = 0;
};
