// The host build's program calls: kernel commands are called directly, with a zeroed result
// record and a private copy of the argument records, as the service would pass them.
#include <cstdlib>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/program_calls.h"

ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord *records) {
    ArgumentRecord result{0, 0, 0};
    std::vector<ArgumentRecord> args(records, records + (count > 0 ? count : 0));
    // With count 0 the command still gets the address where the first record would be.
    ArgumentRecord none{0, 0, 0};
    command(&result, count, args.empty() ? &none : args.data());
    return result;
}

namespace ProgramCall {

void *AllocateMemory(uint32_t bytes) {
    return ::AllocateMemory(bytes);
}

void *ReallocateMemory(void *block, uint32_t bytes) {
    return ::ReallocateMemory(block, bytes);
}

void FreeMemory(void *block) {
    ::FreeMemory(block);
}

void ReportError(int32_t index) {
    ::ReportError(index);
}

void ExitProgram(int32_t code) {
    std::exit(code);
}

} // namespace ProgramCall
