// Median, minimum and maximum of repeated measurements, and their row for bench/run.
#include "bench/gui_bench/samples.h"

#include <algorithm>
#include <cstdio>

double Samples::Median() const {
    if (values.empty()) {
        return 0;
    }
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 != 0 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Samples::Min() const {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Samples::Max() const {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double MillisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(Now().QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void PrintRow(const std::string &measurement, const Samples &measured, double baselineMedian,
              const std::string &goal) {
    std::printf("ROW\t%s\t%.4g\t%.4g\t%.4g\t%.4g\t%s\n", measurement.c_str(), measured.Median(),
                measured.Min(), measured.Max(), baselineMedian, goal.c_str());
    std::fflush(stdout);
}
