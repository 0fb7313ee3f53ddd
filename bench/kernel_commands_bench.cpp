// Times the value kernel commands on a 16 MiB code page 936 text beside memmem and memcpy
// baselines of the same run, and prints the median, minimum and maximum of several runs and the
// median's ratio to its baseline's, as a table and as rows for bench/run.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include "runtime/heap.h"
#include "values/kernel_calls.h"

namespace {

constexpr size_t kTextBytes = 16u << 20;
constexpr int kRuns = 15;
constexpr size_t kPieceBytes = 100;
const char kTail[] = "Zz\xD5\xD2\xB5\xBD\xCE\xD2"; // found only at the very end

// Mostly double-byte characters, some ASCII words, a blank every 50 bytes and a ',' and a '#'
// every 100 bytes, so that SplitText makes a piece and ReplaceSubtext a replacement per
// 100 bytes (1 % of positions).
std::string MakeText() {
    std::mt19937 random(42);
    std::string text;
    text.reserve(kTextBytes + 16);
    while (text.size() < kTextBytes - sizeof kTail) {
        const size_t column = text.size() % kPieceBytes;
        if (column == 0) {
            text += ',';
        } else if (column == 50) {
            text += random() % 2 ? " " : "\xA1\xA1";
        } else if (column == 75) {
            text += '#';
        } else if (random() % 8 == 0) {
            text += static_cast<char>('A' + random() % 26);
        } else {
            text += static_cast<char>(0xB0 + random() % 0x47);
            text += static_cast<char>(0xA1 + random() % 0x5E);
        }
    }
    text += kTail;
    return text;
}

struct Timing {
    double median, min, max;
};

double MillisecondsOf(const std::function<void()> &work) {
    // <chrono> cannot be used: its micro sign has no code page 936 form.
    timespec start;
    timespec end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    work();
    clock_gettime(CLOCK_MONOTONIC, &end);
    return (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
}

// Every measurement, baselines included, is timed once a round, round after round: a burst of
// load from elsewhere on the machine then falls on one sample of each, not on all the samples
// of one.
class Rounds {
public:
    // Returns the measurement's number.
    size_t Add(std::function<void()> work) {
        works_.push_back(std::move(work));
        times_.emplace_back();
        return works_.size() - 1;
    }
    void Run() {
        for (int round = 0; round < kRuns; ++round) {
            for (size_t i = 0; i < works_.size(); ++i) {
                times_[i].push_back(MillisecondsOf(works_[i]));
            }
        }
    }
    Timing Of(size_t measurement) const {
        std::vector<double> times = times_[measurement];
        std::sort(times.begin(), times.end());
        return Timing{times[times.size() / 2], times.front(), times.back()};
    }

private:
    std::vector<std::function<void()>> works_;
    std::vector<std::vector<double>> times_;
};

volatile uintptr_t gSink;

void Keep(const void *value) {
    gSink = reinterpret_cast<uintptr_t>(value);
}

} // namespace

// An optional argument keeps only the commands whose row name contains it (for profiling one
// command at a time); the baselines always run.
int main(int argc, char **argv) {
    const char *only = argc > 1 ? argv[1] : "";
    const std::string text = MakeText();
    const char *t = text.c_str();
    std::vector<char> copy(text.size() + 1);
    std::vector<uint32_t> byteSet(2 + text.size() / 4 + 1);
    byteSet[0] = 1;
    byteSet[1] = static_cast<uint32_t>(text.size());
    std::memcpy(byteSet.data() + 2, t, text.size());

    Rounds rounds;
    const size_t memmemRun =
        rounds.Add([&] { Keep(memmem(t, text.size(), kTail, sizeof kTail - 1)); });
    const size_t memcpyRun = rounds.Add([&] {
        std::memcpy(copy.data(), t, text.size());
        Keep(copy.data());
    });
    // The same copy into a fresh block: what any command that returns a new 16 MiB value pays
    // for page faults before it does any work.
    const size_t freshCopyRun = rounds.Add([&] {
        void *block = AllocateMemory(static_cast<uint32_t>(text.size() + 1));
        std::memcpy(block, t, text.size());
        Keep(block);
        FreeMemory(block);
    });
    struct Row {
        const char *name;
        size_t run;
        size_t baselineRun;
        const char *baselineName;
        const char *goal;
    };
    std::vector<Row> rows;
    auto measureSearch = [&](const char *name, std::function<int32_t()> call) {
        if (std::strstr(name, only) == nullptr) {
            return;
        }
        rows.push_back(Row{name, rounds.Add([call] {
                               Keep(reinterpret_cast<void *>(static_cast<uintptr_t>(call())));
                           }),
                           memmemRun, "memmem", "ratio<=2"});
    };
    auto measureCopy = [&](const char *name, std::function<void *()> call,
                           void (*release)(void *)) {
        if (std::strstr(name, only) == nullptr) {
            return;
        }
        rows.push_back(Row{name, rounds.Add([call, release] {
                               void *result = call();
                               Keep(result);
                               release(result);
                           }),
                           freshCopyRun, "memcpy into a fresh heap block", "ratio<=1.5"});
    };
    auto freeBlock = [](void *block) { FreeMemory(block); };
    auto freeArray = [](void *array) { FreeTextArray(static_cast<TextArrayHeader *>(array)); };

    measureSearch("FindText, exact, match at the end",
                  [&] { return Kernel::FindText(t, kTail, std::nullopt, false); });
    measureSearch("FindText, ignore case, match at the end",
                  [&] { return Kernel::FindText(t, kTail, std::nullopt, true); });
    measureSearch("FindTextBackward, exact, last match at the end",
                  [&] { return Kernel::FindTextBackward(t, kTail, std::nullopt, false); });
    measureCopy(
        "ReplaceSubtext, exact, 1 % replaced",
        [&]() -> void * {
            return Kernel::ReplaceSubtext(t, "#", "$$", std::nullopt, std::nullopt, true);
        },
        freeBlock);
    measureCopy(
        "ReplaceSubtext, letter case folded, 1 % replaced",
        [&]() -> void * {
            return Kernel::ReplaceSubtext(t, "#", "$$", std::nullopt, std::nullopt, false);
        },
        freeBlock);
    measureCopy(
        "SplitText, a piece per 100 bytes",
        [&]() -> void * { return Kernel::SplitText(t, nullptr, std::nullopt); }, freeArray);
    measureCopy(
        "ToLowerCase", [&]() -> void * { return Kernel::ToLowerCase(t); }, freeBlock);
    measureCopy(
        "TrimSpaces", [&]() -> void * { return Kernel::TrimSpaces(t); }, freeBlock);
    measureCopy(
        "RemoveAllSpaces", [&]() -> void * { return Kernel::RemoveAllSpaces(t); }, freeBlock);
    measureCopy(
        "ToText of a ByteSet",
        [&]() -> void * {
            return Kernel::ToText(
                ArgumentRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(byteSet.data())),
                               0, kTypeByteSet});
        },
        freeBlock);

    rounds.Run();
    const Timing memmemMs = rounds.Of(memmemRun);
    const Timing memcpyMs = rounds.Of(memcpyRun);
    const Timing freshCopyMs = rounds.Of(freshCopyRun);
    std::printf("%zu bytes, median of %d runs; memmem %.2f ms, memcpy %.2f ms, memcpy into a "
                "fresh heap block %.2f ms\n\n",
                text.size(), kRuns, memmemMs.median, memcpyMs.median, freshCopyMs.median);
    std::printf("| command | ms | min | max | baseline | ratio | ratio to memcpy |\n"
                "|---|---:|---:|---:|---|---:|---:|\n");
    for (const Row &row : rows) {
        const Timing ms = rounds.Of(row.run);
        const double baseline = rounds.Of(row.baselineRun).median;
        const bool copies = row.baselineRun == freshCopyRun;
        std::printf("| %s | %.2f | %.2f | %.2f | %s | %.2f | %s |\n", row.name, ms.median, ms.min,
                    ms.max, row.baselineName, ms.median / baseline,
                    copies ? std::to_string(ms.median / memcpyMs.median).substr(0, 4).c_str() : "");
    }
    // The rows for bench/run's table: measurement, median, min, max, baseline median, goal.
    std::printf("\n");
    for (const Row &row : rows) {
        const Timing ms = rounds.Of(row.run);
        std::printf("ROW\t16 MiB text: %s, ms (baseline: %s)\t%.4g\t%.4g\t%.4g\t%.4g\t%s\n",
                    row.name, row.baselineName, ms.median, ms.min, ms.max,
                    rounds.Of(row.baselineRun).median, row.goal);
    }
    std::printf("ROW\t16 MiB text: memcpy into a fresh heap block, ms (baseline: "
                "memcpy)\t%.4g\t%.4g\t%.4g\t%.4g\t-\n",
                freshCopyMs.median, freshCopyMs.min, freshCopyMs.max, memcpyMs.median);
    return 0;
}
