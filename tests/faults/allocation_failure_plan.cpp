// Linked only into the fault-injection variant of the program: before the program's entry runs,
// plans the failure of the runtime heap's allocation request whose 1-based number the
// environment variable ZV_FAIL_ALLOCATION holds in decimal. Without the variable, or with
// anything but a decimal number from 1 to 4294967295 in it, nothing fails and the heap only
// counts its requests. When ZV_ALLOCATION_COUNTS names a file mapping of the sweep's, the heap
// also keeps its count of requests and the refused request's number there, where the sweep reads
// them after the program has ended (the exit's requests come after the last chance to ask).
#include <windows.h>

#include "runtime/heap_instrumentation.h"
#include "tests/support/environment_number.h"

namespace {

// Made while the program's static objects are made; none of them allocates from the runtime
// heap, so the count starts with the program's first request.
[[maybe_unused]] const bool gPlanned =
    (HeapInstrumentation::FailAllocationNumber(EnvironmentNumber(L"ZV_FAIL_ALLOCATION")), true);

volatile uint32_t *SweepCounts() {
    wchar_t name[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZV_ALLOCATION_COUNTS", name, MAX_PATH);
    // The handle stays open for the program's life: the view needs the mapping.
    const HANDLE mapping =
        length == 0 || length >= MAX_PATH ? nullptr : OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
    return mapping == nullptr ? nullptr
                              : static_cast<volatile uint32_t *>(MapViewOfFile(
                                    mapping, FILE_MAP_WRITE, 0, 0, 2 * sizeof(uint32_t)));
}

[[maybe_unused]] const bool gMirrored = (HeapInstrumentation::MirrorCounts(SweepCounts()), true);

} // namespace
