#pragma once
// The timing and pattern names of one unit family. An entry's 1-based position
// is the number the unit knows it by, so the lists are kept in file order.
#include <string>
#include <string_view>
#include <vector>

namespace t27 {

struct Catalogue {
    std::vector<std::string> timings;
    std::vector<std::string> patterns;

    int timing_count() const { return static_cast<int>(timings.size()); }
    int pattern_count() const { return static_cast<int>(patterns.size()); }
    // Name of entry n (1-based); empty outside 1..count.
    const std::string& timing_name(int n) const;
    const std::string& pattern_name(int n) const;
};

struct CatalogueParse {
    Catalogue catalogue;
    bool ok = false;
    std::string error;  // empty when ok
};

// Reads "count, names..., count, names...". A file that ends early or holds a
// bad count keeps the entries read before the fault, so every listed name
// still sits at its true number; `ok` is false and `error` says where.
CatalogueParse catalogue_parse(std::string bytes);

}  // namespace t27
