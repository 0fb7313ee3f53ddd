// The process heap of Windows, the one heap of the runtime.
#include "runtime/process_heap.h"

#include <windows.h>

void *ProcessHeapAlloc(size_t bytes) {
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void *ProcessHeapRealloc(void *block, size_t bytes) {
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes);
}

void ProcessHeapFree(void *block) {
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}
