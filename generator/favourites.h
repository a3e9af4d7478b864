#pragma once
// The favourite buttons of the timing and pattern rows. Each row has 18 slots
// holding 1-based catalogue numbers, used slots first in ascending order, the
// rest empty. The arrays carry a 19th slot that is never read or written, so
// code indexing 0..18 stays in bounds.
#include <array>
#include <string>

namespace t27 {

inline constexpr int favourite_slot_count = 19;
inline constexpr int favourite_slots_used = 18;
inline constexpr int favourite_empty = 254;

using FavouriteSlots = std::array<int, favourite_slot_count>;

struct Favourites {
    FavouriteSlots fav_timing;
    FavouriteSlots fav_pattern;

    Favourites() {
        fav_timing.fill(favourite_empty);
        fav_pattern.fill(favourite_empty);
    }
    bool operator==(const Favourites&) const = default;
};

struct FavouritesParse {
    Favourites favourites;
    bool ok = false;
    std::string error;  // empty when ok
};

// Reads the 36 integer fields (18 timing slots, then 18 pattern slots). A
// value outside 1..count, one that is not a number, and every slot after the
// data ran out read as empty; the file's other slots are kept.
FavouritesParse favourites_parse(std::string bytes, int timing_count, int pattern_count);

// The 36 lines written at exit.
std::string favourites_bytes(const Favourites& favourites);

}  // namespace t27
