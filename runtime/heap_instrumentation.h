// Test instrumentation of the runtime heap: a count of live blocks and a planned failure of
// the N-th allocation. Compiled in only with ZV_HEAP_INSTRUMENTATION; in the shipped program
// every hook is an empty inline function and costs nothing.
#pragma once

#include <cstdint>

namespace HeapInstrumentation {

#ifdef ZV_HEAP_INSTRUMENTATION
void CountAllocation();
void CountFree();
bool ShouldFail();
int32_t LiveBlocks();
uint32_t AllocationsMade();
// Makes allocation number n (1-based, counted from now) fail; 0 turns failing off.
void FailAllocationNumber(uint32_t n);
#else
inline void CountAllocation() {}
inline void CountFree() {}
inline bool ShouldFail() {
    return false;
}
#endif

} // namespace HeapInstrumentation
