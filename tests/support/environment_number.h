// The value of an environment variable read as a decimal number, for the test variants of the
// program that take a setting from their environment.
#pragma once

#include <windows.h>

#include <cstdint>

// The variable's decimal number from 1 to 4294967295; 0 when the variable is not set or holds
// anything else.
inline uint32_t EnvironmentNumber(const wchar_t *name) {
    constexpr DWORD kDigitsRoom = 16;
    wchar_t value[kDigitsRoom];
    const DWORD length = GetEnvironmentVariableW(name, value, kDigitsRoom);
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
