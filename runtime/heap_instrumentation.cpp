// Counters behind the heap's test instrumentation (see heap_instrumentation.h).
#include "runtime/heap_instrumentation.h"

#ifdef ZV_HEAP_INSTRUMENTATION

#include <atomic>

namespace HeapInstrumentation {
namespace {

std::atomic<int32_t> gLiveBlocks{0};
std::atomic<uint32_t> gAllocations{0};
std::atomic<uint32_t> gFailAt{0};

} // namespace

void CountAllocation() {
    ++gLiveBlocks;
}
void CountFree() {
    --gLiveBlocks;
}

bool ShouldFail() {
    const uint32_t made = ++gAllocations;
    const uint32_t failAt = gFailAt.load();
    return failAt != 0 && made == failAt;
}

int32_t LiveBlocks() {
    return gLiveBlocks.load();
}
uint32_t AllocationsMade() {
    return gAllocations.load();
}

void FailAllocationNumber(uint32_t n) {
    gAllocations = 0;
    gFailAt = n;
}

} // namespace HeapInstrumentation

#endif
