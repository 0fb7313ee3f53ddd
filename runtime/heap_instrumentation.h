// Test instrumentation of the runtime heap: a count of live blocks, a count of allocation
// requests and a planned failure of the N-th request. Compiled in only with
// ZV_HEAP_INSTRUMENTATION; in the shipped program every hook is an empty inline function and
// costs nothing.
#pragma once

#include <cstdint>

namespace HeapInstrumentation {

#ifdef ZV_HEAP_INSTRUMENTATION
void CountAllocation();
void CountFree();
// Counts one allocation request of bytes; true when it is the planned failure, whose number and
// byte count are then kept for RefusedRequest and RefusedBytes.
bool ShouldFail(uint32_t bytes);
int32_t LiveBlocks();
// Allocation requests (allocations and resizes) since the last FailAllocationNumber.
uint32_t AllocationsMade();
// Makes allocation request number n (1-based, counted from now) fail; 0 turns failing off.
void FailAllocationNumber(uint32_t n);
// The number of the request that was refused (0 while none was), and its byte count.
uint32_t RefusedRequest();
uint32_t RefusedBytes();
// From now on also writes the number of requests made so far into counts[0] at every request,
// and the refused request's number into counts[1]: memory that another process can read after
// this one has ended.
void MirrorCounts(volatile uint32_t *counts);
#else
inline void CountAllocation() {}
inline void CountFree() {}
inline bool ShouldFail(uint32_t) {
    return false;
}
#endif

} // namespace HeapInstrumentation
