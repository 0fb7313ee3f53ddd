// The program's twelve WinInet and component-library DLL commands as lists the binder takes, for
// the executables that run FetchPage without the program's image (tests, benchmark).
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/dll_binding.h"

// Binds FetchPage's DLL commands for the owner's lifetime and releases them afterwards.
class WinInetCommandLists {
public:
    WinInetCommandLists() { UseDllCommandLists(&lists_); }
    ~WinInetCommandLists() { Withdraw(); }
    WinInetCommandLists(const WinInetCommandLists &) = delete;
    WinInetCommandLists &operator=(const WinInetCommandLists &) = delete;
    // Binds command index to entry ahead of its first call, so that a test can watch the calls.
    void Bind(uint32_t index, FARPROC entry) { entries_[index] = entry; }
    // Releases and withdraws the lists as the program's shutdown does, and hands them over again.
    void Withdraw() {
        ReleaseDllCommandModules(lists_, PlatformModuleLoader());
        UseDllCommandLists(nullptr);
    }
    void Restore() { UseDllCommandLists(&lists_); }

private:
    static constexpr uint32_t kCount = 12;
    static constexpr const char *kLibraries[kCount] = {
        "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
        "wininet.dll", "wininet.dll", "ole32.dll",   "ole32.dll",   "wininet.dll", "wininet.dll"};
    static constexpr const char *kExports[kCount] = {
        "InternetOpenA",    "InternetCloseHandle", "InternetConnectA",
        "HttpOpenRequestA", "HttpSendRequestA",    "HttpSendRequestA",
        "InternetReadFile", "HttpQueryInfoA",      "CoInitialize",
        "CoUninitialize",   "InternetSetOptionA",  "InternetQueryDataAvailable"};

    HMODULE modules_[kCount] = {};
    FARPROC entries_[kCount] = {};
    DllCommandLists lists_{kCount, kLibraries, kExports, modules_, entries_, ".", ""};
};
