// The driver's steps on a program's threads, handles and committed private bytes.
#include "tests/e2e/driver/process_figures.h"

#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/e2e/driver/memory_probe.h"

namespace {

constexpr DWORD kReadEveryMilliseconds = 500;
// SystemHandleInformation: every handle of the system, one entry each. GetProcessHandleCount
// answers 0 under Wine.
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct HandleEntry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    void *object;
    ACCESS_MASK access;
};

struct HandleInformation {
    ULONG count;
    HandleEntry entries[1];
};

struct Figures {
    long threads = -1;
    long handles = -1;
    uint64_t bytes = 0;
};

Figures gMark;

long ThreadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    long threads = -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            threads = static_cast<long>(entry.cntThreads);
        }
    }
    CloseHandle(snapshot);
    return threads;
}

long HandleCount(DWORD processId) {
    using Query = LONG(WINAPI *)(ULONG, void *, ULONG, ULONG *);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<uintptr_t>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 16);
    LONG status = kInfoLengthMismatch;
    while (query != nullptr && status == kInfoLengthMismatch && buffer.size() <= (64u << 20)) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(buffer.size() * 2);
        }
    }
    if (status != 0) {
        return -1;
    }
    const auto *information = reinterpret_cast<const HandleInformation *>(buffer.data());
    long handles = 0;
    for (ULONG i = 0; i < information->count; ++i) {
        handles += information->entries[i].processId == processId ? 1 : 0;
    }
    return handles;
}

Figures Read(HANDLE process) {
    const DWORD processId = GetProcessId(process);
    return {ThreadCount(processId), HandleCount(processId), CommittedPrivateBytes(process)};
}

void Print(const char *label, const Figures &figures) {
    std::printf("%s: %ld threads, %ld handles, %llu committed private bytes\n", label,
                figures.threads, figures.handles, static_cast<unsigned long long>(figures.bytes));
    std::fflush(stdout);
}

bool Fail(const std::string &detail) {
    std::printf("FAIL process-settles: %s\n", detail.c_str());
    return false;
}

bool Settles(HANDLE process, DWORD within, long threads, long handles, uint64_t bytes) {
    if (gMark.threads < 0 || gMark.handles < 0) {
        return Fail("no mark, or the mark could not be read");
    }
    const ULONGLONG start = GetTickCount64();
    Print("process-settles: first read", Read(process));
    for (;;) {
        const Figures now = Read(process);
        const ULONGLONG elapsed = GetTickCount64() - start;
        const bool settled =
            now.threads >= 0 && now.handles >= 0 && now.threads <= gMark.threads + threads &&
            now.handles <= gMark.handles + handles && now.bytes <= gMark.bytes + bytes;
        if (settled || elapsed >= within) {
            Print("process-settles", now);
            std::printf("process-settles: %s after %llu ms\n", settled ? "settled" : "not settled",
                        elapsed);
            std::fflush(stdout);
            return settled || Fail("still above the mark after " + std::to_string(within) + " ms");
        }
        Sleep(kReadEveryMilliseconds);
    }
}

} // namespace

std::optional<bool> RunProcessFiguresStep(HANDLE process, const std::wstring &step,
                                          const std::function<const wchar_t *()> &take) {
    if (step == L"process-mark") {
        gMark = Read(process);
        Print("process-mark", gMark);
        return gMark.threads >= 0 && gMark.handles >= 0;
    }
    if (step == L"process-settles") {
        const wchar_t *within = take();
        const wchar_t *threads = take();
        const wchar_t *handles = take();
        const wchar_t *kib = take();
        if (kib == nullptr) {
            return Fail("needs a time in milliseconds, threads, handles and KiB");
        }
        return Settles(process, std::wcstoul(within, nullptr, 10),
                       std::wcstol(threads, nullptr, 10), std::wcstol(handles, nullptr, 10),
                       static_cast<uint64_t>(std::wcstoull(kib, nullptr, 10)) * 1024);
    }
    return std::nullopt;
}
