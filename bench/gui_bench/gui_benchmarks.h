// The benchmarks of the program against its minimal baseline, each driven from outside the
// programs through window messages. Each prints its rows (see samples.h) and returns false
// after printing why it could not measure.
#pragma once

#include <string>

#include "bench/gui_bench/program_process.h"

// The program and its two baselines: the minimal program as the downloader's contract writes the
// click, and the minimal program at its best.
struct ComparedPrograms {
    std::wstring program;
    std::wstring minimal;
    std::wstring best;
};
inline constexpr char kMinimalName[] = "minimal program, 1 KiB reads, VBScript.RegExp";
inline constexpr char kBestName[] = "minimal program at its best, 64 KiB reads, own engine";

// The goals of a row against each baseline, as samples.h writes them ("ratio<=1.15", "-").
struct ClickGoals {
    std::string againstMinimal;
    std::string againstBest;
};

// From CreateProcess to the main window shown and answering, runs times for each program.
bool BenchStartUp(int runs, const ComparedPrograms &programs);

// The time a click takes, from BM_CLICK sent until it returns with the handler done, in
// programs that have clicked once already.
bool BenchClick(int clicks, const ClickPage &page, const ClickGoals &goals,
                const ComparedPrograms &programs);

// Warm clicks of the program alone on page and on baseline, a page of the same size that costs
// the click little but its fetch, taking turns: the row is page's time against baseline's, so
// that their difference is what the click spends after the body has arrived.
bool BenchClickAgainstPage(int clicks, const ClickPage &page, const ClickPage &baseline,
                           const std::string &goal, const std::wstring &program);

// The same for the first click of a process started for it alone (runs processes each).
bool BenchFirstClick(int runs, const ClickPage &page, const ClickGoals &goals,
                     const ComparedPrograms &programs);

// The peak of resident memory above the idle level while a click on a large page runs,
// as a multiple of the page's size, in the row named by page.name with goal. An empty baseline
// runs no baseline program: the row's baseline is then the page itself (1).
bool BenchClickMemory(int clicks, const ClickPage &warmUp, const ClickPage &page, double pageBytes,
                      const std::string &goal, const std::wstring &program,
                      const std::wstring &baseline);

// The runtime heap's live blocks and the committed private bytes before and after many clicks
// (the instrumented program answers the live-block count); the baseline's private bytes show
// what the platform alone keeps.
bool BenchClicksLeaveNothing(int clicks, const ClickPage &page, const std::wstring &instrumented,
                             const std::wstring &baseline);
