#pragma once

#include <algorithm>
#include <vector>

namespace torvex {

// The median of a benchmark's rounds (the upper one of an even count); the
// rounds must not be empty.
inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace torvex
