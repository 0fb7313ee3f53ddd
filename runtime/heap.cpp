// The runtime heap services over the process heap, with the constant-segment rules that let
// program code free and grow constants like any other value.
#include "runtime/heap.h"

#include <algorithm>
#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap_instrumentation.h"
#include "runtime/process_heap.h"

namespace {

const uint8_t *gConstantStart = nullptr;
const uint8_t *gConstantEnd = nullptr;

} // namespace

void SetConstantSegment(const void *start, uint32_t size) {
    if (start == nullptr || size == 0) {
        ForgetConstantSegment();
        return;
    }
    gConstantStart = static_cast<const uint8_t *>(start);
    gConstantEnd = gConstantStart + size;
}

void ForgetConstantSegment() {
    gConstantStart = nullptr;
    gConstantEnd = nullptr;
}

bool IsConstantAddress(const void *address) {
    // Compared as integers: the address may belong to another object than the segment.
    const auto a = reinterpret_cast<uintptr_t>(address);
    return a >= reinterpret_cast<uintptr_t>(gConstantStart) &&
           a < reinterpret_cast<uintptr_t>(gConstantEnd);
}

uint32_t ConstantBytesFrom(const void *address) {
    if (!IsConstantAddress(address)) {
        return 0;
    }
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(gConstantEnd) -
                                 reinterpret_cast<uintptr_t>(address));
}

void *AllocateMemory(uint32_t bytes) {
    void *block = HeapInstrumentation::ShouldFail(bytes) ? nullptr : ProcessHeapAlloc(bytes);
    if (block == nullptr) {
        ReportMemoryFailure(bytes);
    }
    HeapInstrumentation::CountAllocation();
    return block;
}

void *ReallocateMemory(void *block, uint32_t bytes) {
    if (block == nullptr) {
        return AllocateMemory(bytes);
    }
    if (IsConstantAddress(block)) {
        void *copy = AllocateMemory(bytes);
        std::memcpy(copy, block, std::min(bytes, ConstantBytesFrom(block)));
        return copy;
    }
    void *moved =
        HeapInstrumentation::ShouldFail(bytes) ? nullptr : ProcessHeapRealloc(block, bytes);
    if (moved == nullptr) {
        ReportMemoryFailure(bytes);
    }
    return moved;
}

void FreeMemory(void *block) {
    if (block == nullptr || IsConstantAddress(block)) {
        return;
    }
    HeapInstrumentation::CountFree();
    ProcessHeapFree(block);
}
