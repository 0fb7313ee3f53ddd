// Reads a program's runtime heap figures through its probe window and its committed private
// memory.
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
