// Owned template bytes on the process heap, counted by the heap's test instrumentation.
#include "window/template_block.h"

#include <cstring>
#include <utility>

#include "runtime/heap_instrumentation.h"
#include "runtime/process_heap.h"

TemplateBlock &TemplateBlock::operator=(TemplateBlock &&other) noexcept {
    TemplateBlock moved(std::move(other));
    Swap(moved);
    return *this;
}

bool TemplateBlock::Assign(std::span<const uint8_t> bytes) {
    Release();
    if (bytes.empty()) {
        return true;
    }
    void *block = HeapInstrumentation::ShouldFail(static_cast<uint32_t>(bytes.size()))
                      ? nullptr
                      : ProcessHeapAlloc(bytes.size());
    if (block == nullptr) {
        return false;
    }
    HeapInstrumentation::CountAllocation();
    std::memcpy(block, bytes.data(), bytes.size());
    data_ = static_cast<uint8_t *>(block);
    size_ = static_cast<uint32_t>(bytes.size());
    return true;
}

void TemplateBlock::Release() {
    if (data_ != nullptr) {
        HeapInstrumentation::CountFree();
        ProcessHeapFree(data_);
    }
    data_ = nullptr;
    size_ = 0;
}

void TemplateBlock::Swap(TemplateBlock &other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
}
