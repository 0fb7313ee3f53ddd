// The runtime error report: a modal box, then the process ends with exit code -1.
#pragma once

#include <cstdint>

// The style of the report's box: OK, the error icon, and modal to the task, so that the thread's
// top-level windows are disabled while it is up and no click behind it reaches them.
inline constexpr uint32_t kRuntimeErrorBoxStyle = 0x2010; // MB_OK | MB_ICONERROR | MB_TASKMODAL

// Shows the report for message (may be null or empty) and code, then ends the process.
[[noreturn]] void ReportRuntimeError(const char *message, int code);
// Reports entry index (1 .. 11) of the error-message table, with the index as the code.
[[noreturn]] void ReportError(int index);
// "分配 %d 字节内存失败!" for a failed allocation of bytes.
[[noreturn]] void ReportMemoryFailure(uint32_t bytes);
