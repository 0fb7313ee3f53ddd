// Linked only into the fault-injection variant of the program: before the program's entry runs,
// plans the failure of the runtime heap's allocation request whose 1-based number the
// environment variable ZV_FAIL_ALLOCATION holds in decimal. Without the variable, or with
// anything but a decimal number from 1 to 4294967295 in it, nothing fails and the heap only
// counts its requests.
#include "runtime/heap_instrumentation.h"
#include "tests/support/environment_number.h"

namespace {

// Made while the program's static objects are made; none of them allocates from the runtime
// heap, so the count starts with the program's first request.
[[maybe_unused]] const bool gPlanned =
    (HeapInstrumentation::FailAllocationNumber(EnvironmentNumber(L"ZV_FAIL_ALLOCATION")), true);

} // namespace
