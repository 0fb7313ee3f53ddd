// Reads a program's runtime heap figures through its probe window and its committed private
// memory.
#include "tests/e2e/driver/memory_probe.h"

#include <tlhelp32.h>

#include <vector>

namespace {

constexpr DWORD kPollMilliseconds = 20;

HWND FindProbe(DWORD processId) {
    for (HWND probe = FindWindowExW(nullptr, nullptr, L"ZvLiveBlocksProbe", nullptr);
         probe != nullptr; probe = FindWindowExW(nullptr, probe, L"ZvLiveBlocksProbe", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(probe, &owner);
        if (owner == processId) {
            return probe;
        }
    }
    return nullptr;
}

} // namespace

bool AskHeapProbe(DWORD processId, const wchar_t *question, DWORD waitMilliseconds,
                  uint32_t &answer) {
    const UINT message = RegisterWindowMessageW(question);
    for (DWORD waited = 0; waited <= waitMilliseconds; waited += kPollMilliseconds) {
        HWND probe = FindProbe(processId);
        DWORD_PTR result = 0;
        if (probe != nullptr && SendMessageTimeoutW(probe, message, 0, 0, SMTO_NORMAL,
                                                    waitMilliseconds, &result) != 0) {
            answer = static_cast<uint32_t>(result);
            return true;
        }
        Sleep(kPollMilliseconds);
    }
    return false;
}

bool ReadLiveBlocks(DWORD processId, DWORD waitMilliseconds, int32_t &liveBlocks) {
    uint32_t answer = 0;
    if (!AskHeapProbe(processId, L"ZvLiveBlocks", waitMilliseconds, answer)) {
        return false;
    }
    liveBlocks = static_cast<int32_t>(answer);
    return true;
}

uint64_t CommittedPrivateBytes(HANDLE process) {
    uint64_t bytes = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (uintptr_t address = 0; VirtualQueryEx(process, reinterpret_cast<void *>(address), &region,
                                               sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            bytes += region.RegionSize;
        }
        const uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return bytes;
}

DWORD ThreadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD threads = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        threads += entry.th32OwnerProcessID == processId ? 1 : 0;
    }
    CloseHandle(snapshot);
    return threads;
}

namespace {

// The entries of the system's handle list (information class 16).
struct SystemHandle {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void *object;
    ACCESS_MASK access;
};
struct SystemHandles {
    ULONG count;
    SystemHandle handles[1];
};

} // namespace

DWORD HandleCount(DWORD processId) {
    using Query = LONG(WINAPI *)(int, void *, ULONG, ULONG *);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<uintptr_t>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    constexpr int kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status = kInfoLengthMismatch;
    while (query != nullptr && status == kInfoLengthMismatch && buffer.size() < (64u << 20)) {
        buffer.resize(buffer.size() * 2);
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       nullptr);
    }
    if (query == nullptr || status != 0) {
        return 0;
    }
    const auto *list = reinterpret_cast<const SystemHandles *>(buffer.data());
    DWORD handles = 0;
    for (ULONG i = 0; i < list->count; ++i) {
        handles += list->handles[i].ownerProcessId == processId ? 1 : 0;
    }
    return handles;
}
