#include "cable/cable_times.h"

#include <iterator>

#include "cable/cable_text.h"

namespace t27 {

namespace {

constexpr CableTime times[cable_time_count] = {
    {" 2 minutes", 120},  {" 5 minutes", 300}, {"10 minutes", 600}, {"15 minutes", 900},
    {"30 minutes", 1800}, {" 1 hour", 3600},   {"Infinite", 0},
};
static_assert(std::size(times) == cable_time_count);

}  // namespace

const CableTime* cable_time_at(int entry) {
    if (entry < 0 || entry >= cable_time_count) return nullptr;
    return &times[entry];
}

int cable_time_value(int entry) { return entry + 1; }

std::optional<int> cable_duration_s(int entry) {
    const CableTime* t = cable_time_at(entry);
    if (!t || t->duration_s == 0) return std::nullopt;
    return t->duration_s;
}

std::optional<int> cable_time_entry_of(const std::string& value) {
    const std::optional<long long> n = parse_decimal(value);
    if (!n || *n < 1 || *n > cable_time_count) return std::nullopt;
    return static_cast<int>(*n) - 1;
}

}  // namespace t27
