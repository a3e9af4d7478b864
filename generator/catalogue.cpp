#include "generator/catalogue.h"

#include <cstdint>
#include <optional>

#include "generator/field_reader.h"

namespace t27 {

namespace {

const std::string empty_name;

const std::string& entry(const std::vector<std::string>& list, int n) {
    if (n < 1 || n > static_cast<int>(list.size())) return empty_name;
    return list[static_cast<std::size_t>(n - 1)];
}

// One "count, then count names" section. False once the data runs out or
// the count is unusable; the names read up to then stay in `names`.
bool read_section(FieldReader& reader, std::vector<std::string>& names, const char* what,
                  std::string& error) {
    // The counts are 16-bit on the unit's side; a negative one lists nothing.
    std::optional<long long> count = reader.read_integer(0, INT16_MAX);
    if (!count) {
        error = std::string(what) + " count, " + field_error_message(reader);
        return false;
    }
    for (long long n = 1; n <= *count; ++n) {
        std::optional<std::string> name = reader.read_text();
        if (!name) {
            error =
                std::string(what) + " " + std::to_string(n) + ", " + field_error_message(reader);
            return false;
        }
        names.push_back(std::move(*name));
    }
    return true;
}

}  // namespace

const std::string& Catalogue::timing_name(int n) const { return entry(timings, n); }
const std::string& Catalogue::pattern_name(int n) const { return entry(patterns, n); }

CatalogueParse catalogue_parse(std::string bytes) {
    CatalogueParse result;
    FieldReader reader(std::move(bytes));
    result.ok = read_section(reader, result.catalogue.timings, "timing", result.error) &&
                read_section(reader, result.catalogue.patterns, "pattern", result.error);
    return result;
}

}  // namespace t27
