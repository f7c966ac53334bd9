// SPDX-License-Identifier: MIT
#pragma once

// Order statistics shared by the benchmark programs. Header-only: each program is one
// source file plus this.

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

namespace qon::bench {

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double p90 = 0;
    double worst = 0;
};

// Nearest-rank percentiles: the median of an even count is the upper middle value, and
// the 90th percentile of fewer than ten samples is the largest. An empty set gives zeros.
inline Summary Summarise(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.median = samples[samples.size() / 2];
    s.p90 = samples[std::min(samples.size() - 1, samples.size() * 9 / 10)];
    s.worst = samples.back();
    return s;
}

// The one-minute load average, to print beside the figures: on a busy machine the wall
// times grow while the work stays the same. "?" where the system does not tell.
inline std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string first;
    if (!(in >> first)) return "?";
    return first;
}

}  // namespace qon::bench
