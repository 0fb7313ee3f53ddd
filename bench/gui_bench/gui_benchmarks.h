// The benchmarks of the program against its minimal baseline, each driven from outside the
// programs through window messages. Each prints its rows (see samples.h) and returns false
// after printing why it could not measure.
#pragma once

#include <string>

#include "bench/gui_bench/program_process.h"

// From CreateProcess to the main window shown and answering, runs times for each program.
bool BenchStartUp(int runs, const std::wstring &program, const std::wstring &baseline);

// The time a click takes, from BM_CLICK sent until it returns with the handler done.
bool BenchClick(int clicks, const ClickPage &page, const std::wstring &program,
                const std::wstring &baseline);

// The peak of resident memory above the idle level while a click on a large page runs,
// as a multiple of the page's size.
bool BenchClickMemory(int clicks, const ClickPage &warmUp, const ClickPage &page, double pageBytes,
                      const std::wstring &program, const std::wstring &baseline);

// The runtime heap's live blocks and the committed private bytes before and after many clicks
// (the instrumented program answers the live-block count); the baseline's private bytes show
// what the platform alone keeps.
bool BenchClicksLeaveNothing(int clicks, const ClickPage &page, const std::wstring &instrumented,
                             const std::wstring &baseline);
