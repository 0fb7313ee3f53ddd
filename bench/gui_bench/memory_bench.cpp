// Memory of a click: the peak of the process's resident memory above its idle level during a
// click on a large page, and the live heap blocks and committed private bytes before and after
// many clicks.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "bench/gui_bench/gui_benchmarks.h"
#include "bench/gui_bench/samples.h"
#include "tests/e2e/driver/memory_probe.h"

namespace {

constexpr double kBytesPerKiB = 1024.0;
constexpr DWORD kProbeWaitMilliseconds = 20000;

PROCESS_MEMORY_COUNTERS MemoryCounters(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

// One click on page in a fresh process, after a click on a small page: how far the peak
// resident memory rose above the idle level before the click, in bytes. The kernel keeps that
// peak exactly (under Wine it is the Linux process's high-water mark), so no sampling can miss
// a short-lived block; it counts only touched pages, which every buffer of a click is. A fresh
// process per click, because the peak cannot be reset.
bool ClickPeakAboveIdle(const std::wstring &path, const ClickPage &warmUp, const ClickPage &page,
                        double &aboveIdle) {
    ProgramProcess program;
    if (!StartProgramProcess(path, program) ||
        (program.window = WaitForReadyMainWindow(program)) == nullptr) {
        std::printf("bench_gui: %ls did not start\n", path.c_str());
        EndProgramProcess(program);
        return false;
    }
    // The small page first: the idle level then holds WinInet, the component and what they keep
    // for good, and the measured click shows what a large page adds.
    HWND urlBox = GetDlgItem(program.window, kUrlBoxId);
    SetControlText(urlBox, warmUp.url);
    bool ok = ClickAndCheck(program, warmUp, nullptr);
    SetControlText(urlBox, page.url);
    const PROCESS_MEMORY_COUNTERS idle = MemoryCounters(program.process.hProcess);
    ok = ok && ClickAndCheck(program, page, nullptr);
    const PROCESS_MEMORY_COUNTERS after = MemoryCounters(program.process.hProcess);
    EndProgramProcess(program);
    if (ok && after.PeakWorkingSetSize <= idle.PeakWorkingSetSize) {
        std::printf("bench_gui: the click did not raise the peak of %ls\n", path.c_str());
        ok = false;
    }
    aboveIdle =
        static_cast<double>(after.PeakWorkingSetSize) - static_cast<double>(idle.WorkingSetSize);
    return ok;
}

constexpr int kTraceEveryClicks = 100;

struct ClicksMemory {
    int32_t blocksBefore = 0, blocksAfter = 0;
    uint64_t bytesBefore = 0, bytesAfter = 0;
};

// Clicks page clicks times in a fresh process after one unmeasured click (what the first click
// loads and keeps for good is not a leak); notes the committed private bytes before and after,
// and the live heap blocks when the program answers them. Prints the private bytes every few
// clicks, so that a step shows when it happens.
bool ClickRepeatedly(const std::wstring &path, const ClickPage &page, int clicks, bool readBlocks,
                     ClicksMemory &memory) {
    ProgramProcess program;
    if (!StartProgramProcess(path, program) ||
        (program.window = WaitForReadyMainWindow(program)) == nullptr) {
        std::printf("bench_gui: %ls did not start\n", path.c_str());
        EndProgramProcess(program);
        return false;
    }
    const DWORD id = program.process.dwProcessId;
    SetControlText(GetDlgItem(program.window, kUrlBoxId), page.url);
    bool ok = ClickAndCheck(program, page, nullptr) &&
              (!readBlocks || ReadLiveBlocks(id, kProbeWaitMilliseconds, memory.blocksBefore));
    memory.bytesBefore = CommittedPrivateBytes(program.process.hProcess);
    std::printf("%ls: committed private KiB", path.c_str());
    for (int click = 1; ok && click <= clicks; ++click) {
        ok = ClickAndCheck(program, page, nullptr);
        if (click % kTraceEveryClicks == 0) {
            std::printf(" %d:%.0f", click,
                        static_cast<double>(CommittedPrivateBytes(program.process.hProcess)) /
                            kBytesPerKiB);
        }
    }
    std::printf("\n");
    ok = ok && (!readBlocks || ReadLiveBlocks(id, kProbeWaitMilliseconds, memory.blocksAfter));
    memory.bytesAfter = CommittedPrivateBytes(program.process.hProcess);
    EndProgramProcess(program);
    if (!ok) {
        std::printf("bench_gui: the clicks or the live-block probe of %ls failed\n", path.c_str());
    }
    return ok;
}

Samples KiB(uint64_t bytes) {
    Samples kib;
    kib.Add(static_cast<double>(bytes) / kBytesPerKiB);
    return kib;
}

} // namespace

bool BenchClickMemory(int clicks, const ClickPage &warmUp, const ClickPage &page, double pageBytes,
                      const std::string &goal, const std::wstring &program,
                      const std::wstring &baseline) {
    Samples measured, minimal;
    for (int click = 0; click < clicks; ++click) {
        double programBytes = 0, baselineBytes = 0;
        if (!ClickPeakAboveIdle(program, warmUp, page, programBytes) ||
            (!baseline.empty() && !ClickPeakAboveIdle(baseline, warmUp, page, baselineBytes))) {
            return false;
        }
        measured.Add(programBytes / pageBytes);
        minimal.Add(baselineBytes / pageBytes);
    }
    if (baseline.empty()) {
        PrintRow(page.name + " (baseline: the page)", measured, 1, goal);
        return true;
    }
    std::printf("peak above idle, x page size: minimal program median %.2f, min %.2f, max %.2f\n",
                minimal.Median(), minimal.Min(), minimal.Max());
    PrintRow(page.name, measured, minimal.Median(), goal);
    return true;
}

bool BenchClicksLeaveNothing(int clicks, const ClickPage &page, const std::wstring &instrumented,
                             const std::wstring &baseline) {
    ClicksMemory measured, minimal;
    if (!ClickRepeatedly(instrumented, page, clicks, true, measured) ||
        !ClickRepeatedly(baseline, page, clicks, false, minimal)) {
        return false;
    }
    Samples blocks;
    blocks.Add(measured.blocksAfter);
    const std::string after = " after " + std::to_string(clicks) + " clicks (baseline: before)";
    PrintRow("Live heap blocks" + after, blocks, measured.blocksBefore, "ratio=1");
    PrintRow("Committed private KiB" + after, KiB(measured.bytesAfter),
             static_cast<double>(measured.bytesBefore) / kBytesPerKiB, "ratio=1");
    PrintRow("Minimal program: committed private KiB" + after, KiB(minimal.bytesAfter),
             static_cast<double>(minimal.bytesBefore) / kBytesPerKiB, "-");
    return true;
}
