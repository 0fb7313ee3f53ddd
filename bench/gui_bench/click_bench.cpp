// The click: the time of one sent BM_CLICK on the download button, which returns after the
// handler has fetched the page, matched it and written the output box. Both programs run side
// by side and take turns; every click's output is checked.
#include <cstdio>

#include "bench/gui_bench/gui_benchmarks.h"
#include "bench/gui_bench/program_process.h"
#include "bench/gui_bench/samples.h"

namespace {

struct ClickedProgram {
    ProgramProcess process;
    Samples milliseconds;
};

bool StartForClicks(const std::wstring &path, const ClickPage &page, ClickedProgram &program) {
    if (!StartProgramProcess(path, program.process) ||
        (program.process.window = WaitForReadyMainWindow(program.process)) == nullptr) {
        std::printf("bench_gui: %ls did not start\n", path.c_str());
        return false;
    }
    SetControlText(GetDlgItem(program.process.window, kUrlBoxId), page.url);
    return true;
}

} // namespace

bool BenchClick(int clicks, const ClickPage &page, const std::wstring &program,
                const std::wstring &baseline) {
    ClickedProgram measured, minimal;
    bool ok = StartForClicks(program, page, measured) && StartForClicks(baseline, page, minimal);
    // Click 0 is untimed: it loads WinInet and the component and opens the first connection.
    for (int click = 0; ok && click <= clicks; ++click) {
        for (ClickedProgram *target : {&measured, &minimal}) {
            double milliseconds = 0;
            ok = ok && ClickAndCheck(target->process, page, &milliseconds);
            if (click > 0) {
                target->milliseconds.Add(milliseconds);
            }
        }
    }
    EndProgramProcess(measured.process);
    EndProgramProcess(minimal.process);
    if (ok) {
        const Samples &baselineTimes = minimal.milliseconds;
        std::printf("click of the minimal program, ms: median %.1f, min %.1f, max %.1f\n",
                    baselineTimes.Median(), baselineTimes.Min(), baselineTimes.Max());
        PrintRow("Click on a 50 KiB page, ms", measured.milliseconds, minimal.milliseconds.Median(),
                 "ratio<=1.15");
    }
    return ok;
}
