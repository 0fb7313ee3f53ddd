// The program's declared DLL commands (indexes into the image's DLL command lists) and typed
// calls of the WinInet ones through the stack-checked service call.
#pragma once

#include <cstdint>

#include "runtime/dll_command_call.h"

namespace web {

enum DllCommandIndex : uint32_t {
    kInternetOpen = 0,
    kInternetCloseHandle = 1,
    kInternetConnect = 2,
    kHttpOpenRequest = 3,
    kHttpSendRequestText = 4,
    kHttpSendRequestBytes = 5,
    kInternetReadFile = 6,
    kHttpQueryInfo = 7,
    kCoInitialize = 8,
    kCoUninitialize = 9,
    kInternetSetOption = 10,
    kInternetQueryDataAvailable = 11,
};

template <typename T> uint32_t Word(T *address) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

template <typename... Words> uint32_t CallDll(DllCommandIndex index, Words... words) {
    const uint32_t list[] = {static_cast<uint32_t>(words)..., 0};
    return CallDllCommandChecked(index, sizeof...(Words), list);
}

} // namespace web
