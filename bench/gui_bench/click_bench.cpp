// The click: the time of one sent BM_CLICK on the download button, which returns after the
// handler has fetched the page, matched it and written the output box. The program and both
// minimal programs take turns; every click's output is checked. A warm click runs in a program
// that has clicked once already; a first click runs in a process started for it alone.
#include <cstdio>
#include <vector>

#include "bench/gui_bench/gui_benchmarks.h"
#include "bench/gui_bench/program_process.h"
#include "bench/gui_bench/samples.h"

namespace {

struct ClickedProgram {
    std::wstring path;
    ProgramProcess process;
    Samples milliseconds;
};

bool StartForClicks(const ClickPage &page, ClickedProgram &program) {
    if (!StartProgramProcess(program.path, program.process) ||
        (program.process.window = WaitForReadyMainWindow(program.process)) == nullptr) {
        std::printf("bench_gui: %ls did not start\n", program.path.c_str());
        EndProgramProcess(program.process);
        return false;
    }
    SetControlText(GetDlgItem(program.process.window, kUrlBoxId), page.url);
    return true;
}

// The measured program first, then the minimal program, then the minimal program at its best.
std::vector<ClickedProgram> ProgramsOf(const ComparedPrograms &paths) {
    std::vector<ClickedProgram> programs(3);
    programs[0].path = paths.program;
    programs[1].path = paths.minimal;
    programs[2].path = paths.best;
    return programs;
}

void PrintRows(const std::string &what, const std::vector<ClickedProgram> &programs,
               const ClickGoals &goals) {
    const Samples &minimal = programs[1].milliseconds;
    const Samples &best = programs[2].milliseconds;
    std::printf("%s, minimal program, ms: median %.1f, min %.1f, max %.1f\n", what.c_str(),
                minimal.Median(), minimal.Min(), minimal.Max());
    std::printf("%s, minimal program at its best, ms: median %.1f, min %.1f, max %.1f\n",
                what.c_str(), best.Median(), best.Min(), best.Max());
    PrintRow(what + ", ms (baseline: " + kMinimalName + ")", programs[0].milliseconds,
             minimal.Median(), goals.againstMinimal);
    PrintRow(what + ", ms (baseline: " + kBestName + ")", programs[0].milliseconds, best.Median(),
             goals.againstBest);
}

} // namespace

bool BenchClick(int clicks, const ClickPage &page, const ClickGoals &goals,
                const ComparedPrograms &paths) {
    std::vector<ClickedProgram> programs = ProgramsOf(paths);
    bool ok = true;
    for (ClickedProgram &program : programs) {
        ok = ok && StartForClicks(page, program);
    }
    // Click 0 is untimed: it loads WinInet and the component and opens the first connection.
    for (int click = 0; ok && click <= clicks; ++click) {
        for (ClickedProgram &target : programs) {
            double milliseconds = 0;
            ok = ok && ClickAndCheck(target.process, page, &milliseconds);
            if (click > 0) {
                target.milliseconds.Add(milliseconds);
            }
        }
    }
    for (ClickedProgram &program : programs) {
        EndProgramProcess(program.process);
    }
    if (ok) {
        PrintRows("Warm click on " + page.name, programs, goals);
    }
    return ok;
}

bool BenchClickAgainstPage(int clicks, const ClickPage &page, const ClickPage &baseline,
                           const std::string &goal, const std::wstring &program) {
    ClickedProgram target;
    target.path = program;
    if (!StartForClicks(page, target)) {
        return false;
    }
    HWND urlBox = GetDlgItem(target.process.window, kUrlBoxId);
    Samples onBaseline;
    bool ok = true;
    // Click 0 is untimed, as for the other warm clicks.
    for (int click = 0; ok && click <= clicks; ++click) {
        double milliseconds = 0, baselineMilliseconds = 0;
        SetControlText(urlBox, page.url);
        ok = ClickAndCheck(target.process, page, &milliseconds);
        SetControlText(urlBox, baseline.url);
        ok = ok && ClickAndCheck(target.process, baseline, &baselineMilliseconds);
        if (click > 0) {
            target.milliseconds.Add(milliseconds);
            onBaseline.Add(baselineMilliseconds);
        }
    }
    EndProgramProcess(target.process);
    if (ok) {
        PrintRow("Warm click on " + page.name + ", ms (baseline: " + baseline.name + ")",
                 target.milliseconds, onBaseline.Median(), goal);
    }
    return ok;
}

bool BenchFirstClick(int runs, const ClickPage &page, const ClickGoals &goals,
                     const ComparedPrograms &paths) {
    std::vector<ClickedProgram> programs = ProgramsOf(paths);
    // Run 0 is untimed: it brings the executables and their DLLs into the page cache.
    for (int run = 0; run <= runs; ++run) {
        for (ClickedProgram &target : programs) {
            double milliseconds = 0;
            const bool ok =
                StartForClicks(page, target) && ClickAndCheck(target.process, page, &milliseconds);
            EndProgramProcess(target.process);
            if (!ok) {
                return false;
            }
            if (run > 0) {
                target.milliseconds.Add(milliseconds);
            }
        }
    }
    PrintRows("First click after a fresh start on " + page.name, programs, goals);
    return true;
}
