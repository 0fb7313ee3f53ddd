// bench_gui: times the downloader against its minimal baseline programs from outside, the way a
// user meets them: start-up, the click, and the memory a click takes. Prints its results as rows
// for bench/run's table (see samples.h).
//   bench_gui startup RUNS PROGRAM MINIMAL BEST
//   bench_gui click CLICKS URL EXPECTED NAME GOAL_MINIMAL GOAL_BEST PROGRAM MINIMAL BEST
//   bench_gui firstclick RUNS URL EXPECTED NAME GOAL_MINIMAL GOAL_BEST PROGRAM MINIMAL BEST
//   bench_gui clickpair CLICKS URL EXPECTED NAME BASE_URL BASE_EXPECTED BASE_NAME GOAL PROGRAM
//   bench_gui memory CLICKS WARM_URL WARM_EXPECTED URL EXPECTED NAME PAGE_BYTES GOAL PROGRAM
//       BASELINE
//   bench_gui leak CLICKS URL EXPECTED INSTRUMENTED_PROGRAM BASELINE
// EXPECTED is the output box's text after a click, its lines separated by '|'; NAME is how the
// table names the page (or the row); MINIMAL and BEST are the minimal program in its two modes;
// a BASELINE of "-" runs no baseline program.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/gui_bench/gui_benchmarks.h"

namespace {

std::string Narrow(const std::wstring &wide) {
    std::string out;
    for (wchar_t c : wide) {
        out += static_cast<char>(c);
    }
    return out;
}

ClickPage Page(const std::wstring &url, const std::wstring &expected,
               const std::wstring &name = L"") {
    std::string output;
    for (char c : Narrow(expected)) {
        output += c == '|' ? std::string("\r\n") : std::string(1, c);
    }
    return ClickPage{Narrow(url), Narrow(name), output};
}

int Usage() {
    std::printf("usage: bench_gui startup|click|firstclick|clickpair|memory|leak ... (see "
                "bench/gui_bench/main.cpp)\n");
    return 2;
}

} // namespace

int main() {
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 3) {
        return Usage();
    }
    const std::vector<std::wstring> a(arguments + 1, arguments + count);
    const int runs = std::stoi(a[1]);
    if (runs <= 0) {
        return Usage();
    }
    bool ok = false;
    if (a[0] == L"startup" && a.size() == 5) {
        ok = BenchStartUp(runs, ComparedPrograms{a[2], a[3], a[4]});
    } else if ((a[0] == L"click" || a[0] == L"firstclick") && a.size() == 10) {
        const ClickGoals goals{Narrow(a[5]), Narrow(a[6])};
        const ComparedPrograms programs{a[7], a[8], a[9]};
        ok = a[0] == L"click" ? BenchClick(runs, Page(a[2], a[3], a[4]), goals, programs)
                              : BenchFirstClick(runs, Page(a[2], a[3], a[4]), goals, programs);
    } else if (a[0] == L"clickpair" && a.size() == 10) {
        ok = BenchClickAgainstPage(runs, Page(a[2], a[3], a[4]), Page(a[5], a[6], a[7]),
                                   Narrow(a[8]), a[9]);
    } else if (a[0] == L"memory" && a.size() == 11) {
        ok = BenchClickMemory(runs, Page(a[2], a[3]), Page(a[4], a[5], a[6]), std::stod(a[7]),
                              Narrow(a[8]), a[9], a[10] == L"-" ? std::wstring() : a[10]);
    } else if (a[0] == L"leak" && a.size() == 6) {
        ok = BenchClicksLeaveNothing(runs, Page(a[2], a[3]), a[4], a[5]);
    } else {
        return Usage();
    }
    return ok ? 0 : 1;
}
