// The texts of the runtime error report, shared by the Windows box and the host build.
#pragma once

#include <string>

inline constexpr int kErrorTableSize = 11;

// Message index (1 .. 11) of the error-message table, or null outside it.
const char *ErrorTableMessage(int index);
// The report's full text: the heading, the code line unless code is 0, the message line
// unless message is null or empty.
std::string ComposeErrorReport(const char *message, int code);
// "分配 %d 字节内存失败!" for bytes (formatted as a signed number, as the runtime always has).
std::string MemoryFailureMessage(uint32_t bytes);
