// A favourites file from the program directory, read against catalogues of
// several sizes, and written back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "fuzz/fuzz_support.h"
#include "generator/favourites.h"

namespace {

void check_slots(const t27::FavouriteSlots& slots, int count) {
    for (int k = 0; k < t27::favourite_slot_count; ++k) {
        const int v = slots[static_cast<std::size_t>(k)];
        T27_FUZZ_CHECK(v == t27::favourite_empty || (v >= 1 && v <= count));
    }
    // The slot past the used ones is never written.
    T27_FUZZ_CHECK(slots[t27::favourite_slots_used] == t27::favourite_empty);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The shipped catalogues' sizes, an empty one, and the largest count a
    // catalogue may give.
    constexpr std::pair<int, int> counts[] = {{112, 53}, {0, 0}, {1, 1}, {32767, 32767}};
    for (const auto& [timings, patterns] : counts) {
        const t27::FavouritesParse p = t27::favourites_parse(bytes, timings, patterns);
        T27_FUZZ_CHECK(p.ok == p.error.empty());
        check_slots(p.favourites.fav_timing, timings);
        check_slots(p.favourites.fav_pattern, patterns);

        // What is written at exit reads back as the same slots.
        const t27::FavouritesParse back =
            t27::favourites_parse(t27::favourites_bytes(p.favourites), timings, patterns);
        T27_FUZZ_CHECK(back.favourites.fav_timing == p.favourites.fav_timing);
        T27_FUZZ_CHECK(back.favourites.fav_pattern == p.favourites.fav_pattern);
    }
    return 0;
}
