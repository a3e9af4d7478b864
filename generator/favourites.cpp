#include "generator/favourites.h"

#include <climits>
#include <optional>

#include "generator/field_reader.h"
#include "generator/field_writer.h"

namespace t27 {

namespace {

// False once the data has run out (the remaining slots stay empty).
bool read_row(FieldReader& reader, FavouriteSlots& slots, int count, const char* row,
              std::string& error) {
    for (int k = 0; k < favourite_slots_used; ++k) {
        std::optional<long long> value = reader.read_integer(LLONG_MIN / 2, LLONG_MAX / 2);
        if (!value) {
            if (error.empty()) {
                error = std::string(row) + " slot " + std::to_string(k) + ", " +
                        field_error_message(reader);
            }
            if (reader.error() == FieldError::end_of_data ||
                reader.error() == FieldError::open_quote) {
                return false;
            }
            continue;
        }
        if (*value >= 1 && *value <= count)
            slots[static_cast<std::size_t>(k)] = static_cast<int>(*value);
    }
    return true;
}

}  // namespace

FavouritesParse favourites_parse(std::string bytes, int timing_count, int pattern_count) {
    FavouritesParse result;
    FieldReader reader(std::move(bytes));
    if (read_row(reader, result.favourites.fav_timing, timing_count, "timing", result.error)) {
        read_row(reader, result.favourites.fav_pattern, pattern_count, "pattern", result.error);
    }
    result.ok = result.error.empty();
    return result;
}

std::string favourites_bytes(const Favourites& favourites) {
    FieldWriter writer;
    for (int k = 0; k < favourite_slots_used; ++k) {
        writer.integer(favourites.fav_timing[static_cast<std::size_t>(k)]);
    }
    for (int k = 0; k < favourite_slots_used; ++k) {
        writer.integer(favourites.fav_pattern[static_cast<std::size_t>(k)]);
    }
    return writer.bytes();
}

}  // namespace t27
