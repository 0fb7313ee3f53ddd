// The host build's process heap: the C library's allocator.
#include "runtime/process_heap.h"

#include <cstdlib>

// malloc(0) may answer null; a zero-byte block is still a block, as on the Windows heap.
void *ProcessHeapAlloc(size_t bytes) {
    return std::malloc(bytes == 0 ? 1 : bytes);
}

void *ProcessHeapRealloc(void *block, size_t bytes) {
    return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void ProcessHeapFree(void *block) {
    std::free(block);
}
