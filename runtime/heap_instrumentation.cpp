// Counters behind the heap's test instrumentation (see heap_instrumentation.h).
#include "runtime/heap_instrumentation.h"

#ifdef ZV_HEAP_INSTRUMENTATION

#include <atomic>

namespace HeapInstrumentation {
namespace {

std::atomic<int32_t> gLiveBlocks{0};
std::atomic<uint32_t> gAllocations{0};
std::atomic<uint32_t> gFailAt{0};
// Read by the test probe's thread while the report of the refusal is shown.
std::atomic<uint32_t> gRefusedRequest{0};
std::atomic<uint32_t> gRefusedBytes{0};
std::atomic<volatile uint32_t *> gMirror{nullptr};

} // namespace

void CountAllocation() {
    ++gLiveBlocks;
}
void CountFree() {
    --gLiveBlocks;
}

bool ShouldFail(uint32_t bytes) {
    const uint32_t made = ++gAllocations;
    const uint32_t failAt = gFailAt.load();
    volatile uint32_t *mirror = gMirror.load();
    if (mirror != nullptr) {
        mirror[0] = made;
    }
    if (failAt == 0 || made != failAt) {
        return false;
    }
    gRefusedBytes = bytes;
    gRefusedRequest = made;
    if (mirror != nullptr) {
        mirror[1] = made;
    }
    return true;
}

int32_t LiveBlocks() {
    return gLiveBlocks.load();
}
uint32_t AllocationsMade() {
    return gAllocations.load();
}

void FailAllocationNumber(uint32_t n) {
    gAllocations = 0;
    gRefusedRequest = 0;
    gRefusedBytes = 0;
    gFailAt = n;
}

uint32_t RefusedRequest() {
    return gRefusedRequest.load();
}
uint32_t RefusedBytes() {
    return gRefusedBytes.load();
}

void MirrorCounts(volatile uint32_t *counts) {
    gMirror = counts;
}

} // namespace HeapInstrumentation

#endif
