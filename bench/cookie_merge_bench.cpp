// Times MergeCookies natively on the 58,000 cookies that fit under the fetch's 1 MiB header
// bound (and on fewer, to show how the time grows), beside a baseline of the same run: SplitText
// of the same received list, one linear pass over it. Prints the median of several runs and its
// ratio to the baseline's. Build without sanitizers (build/bench, as bench/run-kernel does).
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/web/cookie_merge.h"
#include "app/web/program_text.h"
#include "bench/median_time.h"
#include "values/kernel_calls.h"

namespace {

constexpr int kRuns = 5;

// count received cookies as the fetch reads them (name=value joined by "; "), and a few sent.
void TimeMerge(int count) {
    std::string received;
    for (int i = 0; i < count; ++i) {
        received += "cookie" + std::to_string(i) + "=value" + std::to_string(i) + "; ";
    }
    received.resize(received.size() - 2);
    const double baseline = MedianMilliseconds(
        kRuns, [&] { FreeTextArray(Kernel::SplitText(received.c_str(), "; ", {})); });
    const double ms = MedianMilliseconds(kRuns, [&] {
        Text sent = web::CopyText("a=1; cookie5=old; b=2");
        Text list = web::CopyText(received.c_str());
        web::FreeMemory(MergeCookies(&sent, &list));
        web::FreeMemory(list);
        web::FreeMemory(sent);
    });
    std::printf("MergeCookies, %6d cookies (%7zu bytes) %10.2f ms  %8.1f x baseline (%.2f ms)\n",
                count, received.size(), ms, ms / baseline, baseline);
}

} // namespace

int main(int argc, char **argv) {
    // A largest count on the command line, for a quick look at a slow build.
    const int largest = argc > 1 ? std::atoi(argv[1]) : 58'000;
    for (int count : {2'000, 8'000, largest}) {
        TimeMerge(std::min(count, largest));
    }
    return 0;
}
