// Reads a program's live heap blocks through its probe window and its committed private memory.
#include "tests/e2e/driver/memory_probe.h"

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

bool ReadLiveBlocks(DWORD processId, DWORD waitMilliseconds, int32_t &liveBlocks) {
    const UINT question = RegisterWindowMessageW(L"ZvLiveBlocks");
    for (DWORD waited = 0; waited <= waitMilliseconds; waited += kPollMilliseconds) {
        HWND probe = FindProbe(processId);
        DWORD_PTR answer = 0;
        if (probe != nullptr && SendMessageTimeoutW(probe, question, 0, 0, SMTO_NORMAL,
                                                    waitMilliseconds, &answer) != 0) {
            liveBlocks = static_cast<int32_t>(answer);
            return true;
        }
        Sleep(kPollMilliseconds);
    }
    return false;
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
