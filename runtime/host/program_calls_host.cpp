// The host build's program calls: kernel commands are called directly, with a zeroed result
// record and a private copy of the argument records, as the service would pass them.
#include <vector>

#include "runtime/program_calls.h"

ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord* records) {
    ArgumentRecord result{0, 0, 0};
    std::vector<ArgumentRecord> args(records, records + (count > 0 ? count : 0));
    // With count 0 the command still gets the address where the first record would be.
    ArgumentRecord none{0, 0, 0};
    command(&result, count, args.empty() ? &none : args.data());
    return result;
}
