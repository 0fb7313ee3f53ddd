// The error report for this test program: the report text on stderr, then exit code -1.
#include <windows.h>

#include <cstdio>

#include "runtime/error_messages.h"
#include "runtime/error_report.h"

void ReportRuntimeError(const char *message, int code) {
    const std::string text = ComposeErrorReport(message, code);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(-1));
}

void ReportError(int index) {
    ReportRuntimeError(ErrorTableMessage(index), index);
}

void ReportMemoryFailure(uint32_t bytes) {
    ReportRuntimeError(MemoryFailureMessage(bytes).c_str(), 0);
}
