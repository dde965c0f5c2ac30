#pragma once
// Statistics the benchmarks add to Google Benchmark's own.

#include <algorithm>
#include <vector>

// The slowest repetition, reported beside the median.
inline double Worst(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}
