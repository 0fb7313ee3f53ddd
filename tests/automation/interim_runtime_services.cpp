// Stand-ins for the Windows runtime's error report and kernel-command service, linked into
// the automation tests until the runtime core provides them: an error prints its message and
// ends the process with -1, and a kernel command is called directly with a zeroed result.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/program_calls.h"

void ReportRuntimeError(const char *message, int code) {
    std::fprintf(stderr, "runtime error %d: %s\n", code, message != nullptr ? message : "");
    ExitProcess(static_cast<UINT>(-1));
}

void ReportError(int index) {
    ReportRuntimeError("runtime error", index);
}

void ReportMemoryFailure(uint32_t bytes) {
    std::fprintf(stderr, "allocation of %u bytes failed\n", bytes);
    ExitProcess(static_cast<UINT>(-1));
}

ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord *records) {
    ArgumentRecord result{0, 0, 0};
    std::vector<ArgumentRecord> args(records, records + (count > 0 ? count : 0));
    ArgumentRecord none{0, 0, 0};
    command(&result, count, args.empty() ? &none : args.data());
    return result;
}
