// What the driver reads of a program's memory: the runtime heap's live blocks (from the
// instrumented program's probe window), the committed private bytes of the process, and its
// threads and handles.
#pragma once

#include <windows.h>

#include <cstdint>

// The answer of the instrumented program with this process id to a registered question of its
// heap probe ("ZvLiveBlocks", "ZvAllocationsMade", "ZvRefusedRequest", "ZvRefusedBytes"); false
// when the program has no probe window within the wait time.
bool AskHeapProbe(DWORD processId, const wchar_t *question, DWORD waitMilliseconds,
                  uint32_t &answer);

// The live-block count of the instrumented program with this process id; false when the
// program has no probe window within the wait time.
bool ReadLiveBlocks(DWORD processId, DWORD waitMilliseconds, int32_t &liveBlocks);

// The sum of the process's committed MEM_PRIVATE regions (Wine reports PrivateUsage as 0).
uint64_t CommittedPrivateBytes(HANDLE process);

// The number of threads the process with this id has now.
DWORD ThreadCount(DWORD processId);

// The number of handles the process with this id holds now, from the system's handle list (Wine
// answers GetProcessHandleCount with 0); 0 when the list cannot be read.
DWORD HandleCount(DWORD processId);
