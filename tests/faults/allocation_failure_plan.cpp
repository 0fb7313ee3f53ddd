// Linked only into the fault-injection variant of the program: before the program's entry runs,
// plans the failure of the runtime heap's allocation request whose 1-based number the
// environment variable ZV_FAIL_ALLOCATION holds in decimal. Without the variable, or with
// anything but a decimal number from 1 to 4294967295 in it, nothing fails and the heap only
// counts its requests.
#include <windows.h>

#include <cstdint>

#include "runtime/heap_instrumentation.h"

namespace {

constexpr DWORD kDigitsRoom = 16;

uint32_t PlannedFailure() {
    wchar_t value[kDigitsRoom];
    const DWORD length = GetEnvironmentVariableW(L"ZV_FAIL_ALLOCATION", value, kDigitsRoom);
    if (length == 0 || length >= kDigitsRoom) {
        return 0;
    }
    uint64_t number = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (value[i] < L'0' || value[i] > L'9') {
            return 0;
        }
        number = number * 10 + static_cast<uint64_t>(value[i] - L'0');
        if (number > UINT32_MAX) {
            return 0;
        }
    }
    return static_cast<uint32_t>(number);
}

// Made while the program's static objects are made; none of them allocates from the runtime
// heap, so the count starts with the program's first request.
[[maybe_unused]] const bool gPlanned =
    (HeapInstrumentation::FailAllocationNumber(PlannedFailure()), true);

} // namespace
