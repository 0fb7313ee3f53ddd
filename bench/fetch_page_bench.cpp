// Times FetchPage against a plain WinInet read loop on bodies of 1, 4, 16 and 64 MiB from the
// local nginx, and prints the medians, the time per MiB and the ratios, and the median, minimum
// and maximum of each size as rows for bench/run.
//   bench_fetch_page SERVERS_DIR [RUNS]   (SERVERS_DIR holds servers.txt of tests' web-servers)
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/web/fetch_page.h"
#include "tests/web/web_test_values.h"
#include "tests/web/wininet_command_lists.h"

namespace {

constexpr int kSizesMiB[] = {1, 4, 16, 64};
constexpr int kDefaultRuns = 5;
constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// The flags FetchPage passes for a plain http address: reload, need file, ignore redirects to
// HTTPS. The same here, so that both read the same way from the same platform.
constexpr DWORD kRequestFlags = 0x80004010;
constexpr DWORD kFetchPageChunk = 1024;
constexpr DWORD kLargeChunk = 64 * 1024;

int HttpPort(const std::string &dir) {
    std::ifstream file(dir + "/servers.txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("http_port=", 0) == 0) {
            return std::atoi(line.c_str() + 10);
        }
    }
    return 0;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Runs fetch, which returns a body's length, and notes its time in milliseconds.
template <typename Fetch> size_t Timed(double &milliseconds, Fetch fetch) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const size_t length = fetch();
    QueryPerformanceCounter(&end);
    milliseconds = Milliseconds(start, end);
    return length;
}

// FetchPage as program code calls it; returns the body's length.
size_t FetchPageLength(const std::string &url) {
    TextVar address(url.c_str());
    TextVar postText, cookies, receivedCookies, headers, responseHeaders, proxy;
    ByteSet postBytes = nullptr;
    ByteSet body = FetchPage(
        &address.value, 0, postText.omitted(), cookies.omitted(), receivedCookies.omitted(),
        headers.omitted(), responseHeaders.omitted(), kOmitted,
        {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&postBytes)), 0}, proxy.omitted());
    const size_t length = body ? ByteSetCount(body) : 0;
    FreeMemory(body);
    FreeMemory(postBytes);
    return length;
}

// The plain loop: one request, InternetReadFile of chunk bytes at a time into a buffer that
// doubles when full; returns the body's length.
size_t PlainLoopLength(int port, const std::string &path, DWORD chunk) {
    HINTERNET session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(port),
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.1", nullptr,
                                         nullptr, kRequestFlags, 0);
    std::vector<char> body;
    size_t size = 0;
    if (request != nullptr && HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        DWORD read = 0;
        do {
            if (body.size() - size < chunk) {
                body.resize(std::max<size_t>(body.size() * 2, 64 * 1024));
            }
            if (!InternetReadFile(request, body.data() + size, chunk, &read)) {
                break;
            }
            size += read;
        } while (read != 0);
    }
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    return size;
}

struct Timing {
    double median, min, max;
};

Timing Summary(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return Timing{values[values.size() / 2], values.front(), values.back()};
}

struct Row {
    int mib;
    Timing fetchPage, plainSameChunk, plainLargeChunk;
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_fetch_page SERVERS_DIR [RUNS]\n");
        return 2;
    }
    const int port = HttpPort(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultRuns;
    if (port == 0) {
        std::fprintf(stderr, "bench_fetch_page: no http_port in %s/servers.txt\n", argv[1]);
        return 2;
    }
    WinInetCommandLists commands;
    std::vector<Row> rows;
    for (int mib : kSizesMiB) {
        const std::string path = "/files/body-" + std::to_string(mib) + "M";
        const std::string url = "http://127.0.0.1:" + std::to_string(port) + path;
        const size_t expected = static_cast<size_t>(mib) << 20;
        std::vector<double> fetch, same, large;
        // One untimed round first, then the three alternate so that they share the conditions;
        // the two that are compared take turns in going first, so that neither always runs
        // right behind the other or the large-read loop.
        for (int run = 0; run <= runs; ++run) {
            double fetchMs = 0, sameMs = 0, largeMs = 0;
            size_t a = 0, b = 0;
            const auto timeFetchPage = [&] {
                a = Timed(fetchMs, [&] { return FetchPageLength(url); });
            };
            const auto timeSameChunk = [&] {
                b = Timed(sameMs, [&] { return PlainLoopLength(port, path, kFetchPageChunk); });
            };
            if (run % 2 == 0) {
                timeFetchPage();
                timeSameChunk();
            } else {
                timeSameChunk();
                timeFetchPage();
            }
            const size_t c =
                Timed(largeMs, [&] { return PlainLoopLength(port, path, kLargeChunk); });
            if (a != expected || b != expected || c != expected) {
                std::fprintf(stderr, "bench_fetch_page: %s gave %zu, %zu and %zu bytes\n",
                             url.c_str(), a, b, c);
                return 1;
            }
            if (run > 0) {
                fetch.push_back(fetchMs);
                same.push_back(sameMs);
                large.push_back(largeMs);
            }
        }
        rows.push_back({mib, Summary(fetch), Summary(same), Summary(large)});
    }
    std::printf("medians of %d runs, ms (ms per MiB)\n", runs);
    std::printf("%6s %20s %20s %20s %8s %8s\n", "MiB", "FetchPage", "plain 1 KiB reads",
                "plain 64 KiB reads", "ratio", "ratio64");
    for (const Row &row : rows) {
        const double fetch = row.fetchPage.median;
        const double same = row.plainSameChunk.median;
        const double large = row.plainLargeChunk.median;
        std::printf("%6d %10.1f (%7.2f) %10.1f (%7.2f) %10.1f (%7.2f) %8.2f %8.2f\n", row.mib,
                    fetch, fetch / row.mib, same, same / row.mib, large, large / row.mib,
                    fetch / same, fetch / large);
    }
    const Row &first = rows.front();
    const Row &last = rows.back();
    const double linearity =
        (last.fetchPage.median / last.mib) / (first.fetchPage.median / first.mib);
    std::printf("FetchPage per-MiB time, %d MiB over %d MiB: %.2f\n", last.mib, first.mib,
                linearity);
    // The rows for bench/run's table: measurement, median, min, max, baseline median, goal.
    for (const Row &row : rows) {
        std::printf("ROW\tFetchPage of %d MiB, ms (baseline: plain loop, 1 KiB reads)\t%.4g\t%.4g\t"
                    "%.4g\t%.4g\tratio<=1.2\n",
                    row.mib, row.fetchPage.median, row.fetchPage.min, row.fetchPage.max,
                    row.plainSameChunk.median);
    }
    std::printf(
        "ROW\tFetchPage ms per MiB at %d MiB (baseline: at %d MiB)\t%.4g\t%.4g\t%.4g\t%.4g\t"
        "ratio<=1.3\n",
        last.mib, first.mib, last.fetchPage.median / last.mib, last.fetchPage.min / last.mib,
        last.fetchPage.max / last.mib, first.fetchPage.median / first.mib);
    std::printf(
        "ROW\tPlain loop of %d MiB with 64 KiB reads, ms (baseline: 1 KiB reads)\t%.4g\t%.4g\t"
        "%.4g\t%.4g\t-\n",
        last.mib, last.plainLargeChunk.median, last.plainLargeChunk.min, last.plainLargeChunk.max,
        last.plainSameChunk.median);
    return 0;
}
