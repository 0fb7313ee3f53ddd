// The median wall-clock time of several runs of some work, in milliseconds, for the native
// benchmarks.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <time.h>

inline double MedianMilliseconds(int runs, const std::function<void()> &work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        timespec start;
        timespec end;
        clock_gettime(CLOCK_MONOTONIC, &start);
        work();
        clock_gettime(CLOCK_MONOTONIC, &end);
        times.push_back((end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
