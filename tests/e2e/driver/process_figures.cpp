// The driver's steps on a program's threads, handles and committed private bytes.
#include "tests/e2e/driver/process_figures.h"

#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/e2e/driver/memory_probe.h"

namespace {

constexpr DWORD kReadEveryMilliseconds = 500;
// Every handle of the system, one entry each: GetProcessHandleCount answers 0 under Wine, and the
// handle count of SystemProcessInformation is rounded up.
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

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

// The system's answer for kind, empty when it gives none.
std::vector<char> SystemInformation(SYSTEM_INFORMATION_CLASS kind) {
    std::vector<char> buffer(1 << 16);
    for (; buffer.size() <= (64u << 20); buffer.resize(buffer.size() * 2)) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(
            kind, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != kInfoLengthMismatch) {
            return status == 0 ? buffer : std::vector<char>();
        }
    }
    return {};
}

Figures Read(HANDLE process) {
    const auto processId = static_cast<ULONG_PTR>(GetProcessId(process));
    Figures figures;
    std::vector<char> processes = SystemInformation(SystemProcessInformation);
    for (size_t at = 0; !processes.empty();) {
        const auto *entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION *>(&processes[at]);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == processId) {
            figures.threads = static_cast<long>(entry->NumberOfThreads);
        }
        if (entry->NextEntryOffset == 0) {
            break;
        }
        at += entry->NextEntryOffset;
    }
    std::vector<char> handles = SystemInformation(kSystemHandleInformation);
    if (!handles.empty()) {
        const auto *information = reinterpret_cast<const HandleInformation *>(handles.data());
        figures.handles = 0;
        for (ULONG i = 0; i < information->count; ++i) {
            figures.handles += information->entries[i].processId == processId ? 1 : 0;
        }
    }
    figures.bytes = CommittedPrivateBytes(process);
    return figures;
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
    if (step != L"process-settles") {
        return std::nullopt;
    }
    const wchar_t *within = take();
    const wchar_t *threads = take();
    const wchar_t *handles = take();
    const wchar_t *kib = take();
    if (kib == nullptr) {
        return Fail("needs a time in milliseconds, threads, handles and KiB");
    }
    return Settles(process, std::wcstoul(within, nullptr, 10), std::wcstol(threads, nullptr, 10),
                   std::wcstol(handles, nullptr, 10),
                   static_cast<uint64_t>(std::wcstoull(kib, nullptr, 10)) * 1024);
}
