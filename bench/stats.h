#pragma once
// Small figures over repeated runs.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace t27::bench {

// The middle value (the mean of the two middle ones for an even count).
inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace t27::bench
