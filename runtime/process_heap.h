// Raw blocks of the process heap: null on failure, never a report. The runtime heap services
// and GrowableBuffer are built on these.
#pragma once

#include <cstddef>

void *ProcessHeapAlloc(size_t bytes);
// Resizes a block that is not null; on failure the block is left as it was and null is returned.
void *ProcessHeapRealloc(void *block, size_t bytes);
void ProcessHeapFree(void *block);
