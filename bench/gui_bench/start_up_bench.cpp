// Start-up: from CreateProcess until the main window is visible and its thread has answered a
// sent message, the three programs taking turns so that they share the machine's conditions.
#include <cstdio>

#include "bench/gui_bench/gui_benchmarks.h"
#include "bench/gui_bench/program_process.h"
#include "bench/gui_bench/samples.h"

namespace {

bool TimeStartUp(const std::wstring &path, Samples &samples, bool record) {
    ProgramProcess program;
    const LARGE_INTEGER start = Now();
    if (!StartProgramProcess(path, program)) {
        std::printf("bench_gui: cannot start %ls\n", path.c_str());
        return false;
    }
    program.window = WaitForReadyMainWindow(program);
    const double milliseconds = MillisecondsSince(start);
    const bool ready = program.window != nullptr;
    EndProgramProcess(program);
    if (!ready) {
        std::printf("bench_gui: %ls showed no main window\n", path.c_str());
        return false;
    }
    if (record) {
        samples.Add(milliseconds);
    }
    return true;
}

} // namespace

bool BenchStartUp(int runs, const ComparedPrograms &programs) {
    Samples measured, minimal, best;
    // Run 0 is untimed: it brings the executables and their DLLs into the page cache.
    for (int run = 0; run <= runs; ++run) {
        if (!TimeStartUp(programs.program, measured, run > 0) ||
            !TimeStartUp(programs.minimal, minimal, run > 0) ||
            !TimeStartUp(programs.best, best, run > 0)) {
            return false;
        }
    }
    std::printf("start-up of the minimal program, ms: median %.1f, min %.1f, max %.1f\n",
                minimal.Median(), minimal.Min(), minimal.Max());
    std::printf("start-up of the minimal program at its best, ms: median %.1f, min %.1f, "
                "max %.1f\n",
                best.Median(), best.Min(), best.Max());
    const std::string what = "Start-up to the window ready for input, ms (baseline: ";
    PrintRow(what + kMinimalName + ")", measured, minimal.Median(), "ratio<=1");
    PrintRow(what + kBestName + ")", measured, best.Median(), "ratio<=1.1");
    return true;
}
