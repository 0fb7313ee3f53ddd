// Timings and sizes of repeated measurements: their median, minimum and maximum, and the row
// that bench/run collects into its table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Samples {
    std::vector<double> values;

    void Add(double value) { values.push_back(value); }
    double Median() const;
    double Min() const;
    double Max() const;
};

// Milliseconds since an earlier QueryPerformanceCounter reading.
double MillisecondsSince(LARGE_INTEGER start);
LARGE_INTEGER Now();

// One row of the table: "ROW", the measurement, median, min, max of the measured values, the
// baseline's median and the goal for the ratio median / baseline (as "<=1.15" or "=1").
void PrintRow(const std::string &measurement, const Samples &measured, double baselineMedian,
              const std::string &goal);
