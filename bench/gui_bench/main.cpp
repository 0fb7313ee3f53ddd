// bench_gui: times the downloader against its minimal baseline program from outside both, the
// way a user meets them: start-up, the click, and the memory a click takes. Prints its results
// as rows for bench/run's table (see samples.h).
//   bench_gui startup RUNS PROGRAM BASELINE
//   bench_gui click CLICKS URL EXPECTED PROGRAM BASELINE
//   bench_gui memory CLICKS WARM_URL WARM_EXPECTED URL EXPECTED PAGE_BYTES PROGRAM BASELINE
//   bench_gui leak CLICKS URL EXPECTED INSTRUMENTED_PROGRAM BASELINE
// EXPECTED is the output box's text after a click, its lines separated by '|'.
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

ClickPage Page(const std::wstring &url, const std::wstring &expected) {
    std::string output;
    for (char c : Narrow(expected)) {
        output += c == '|' ? std::string("\r\n") : std::string(1, c);
    }
    return ClickPage{Narrow(url), output};
}

int Usage() {
    std::printf("usage: bench_gui startup|click|memory|leak ... (see bench/gui_bench/main.cpp)\n");
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
    if (a[0] == L"startup" && a.size() == 4) {
        ok = BenchStartUp(runs, a[2], a[3]);
    } else if (a[0] == L"click" && a.size() == 6) {
        ok = BenchClick(runs, Page(a[2], a[3]), a[4], a[5]);
    } else if (a[0] == L"memory" && a.size() == 9) {
        ok =
            BenchClickMemory(runs, Page(a[2], a[3]), Page(a[4], a[5]), std::stod(a[6]), a[7], a[8]);
    } else if (a[0] == L"leak" && a.size() == 6) {
        ok = BenchClicksLeaveNothing(runs, Page(a[2], a[3]), a[4], a[5]);
    } else {
        return Usage();
    }
    return ok ? 0 : 1;
}
