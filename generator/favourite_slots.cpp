#include "generator/favourite_slots.h"

#include "generator/generator_colours.h"

namespace t27 {

std::optional<FavouriteSlots> slots_after_tick(const std::vector<bool>& ticked) {
    FavouriteSlots slots = no_favourites();
    int used = 0;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        if (!ticked[i]) continue;
        if (used == favourite_slots_used) return std::nullopt;
        slots[static_cast<std::size_t>(used++)] = static_cast<int>(i) + 1;
    }
    return slots;
}

std::vector<bool> ticks_from_slots(const FavouriteSlots& slots, int count) {
    std::vector<bool> ticked(static_cast<std::size_t>(count > 0 ? count : 0), false);
    for (int k = 0; k < favourite_slots_used; ++k) {
        const int n = slots[static_cast<std::size_t>(k)];
        if (n >= 1 && n <= count) ticked[static_cast<std::size_t>(n - 1)] = true;
    }
    return ticked;
}

FavouriteSlots no_favourites() {
    FavouriteSlots slots;
    slots.fill(favourite_empty);
    return slots;
}

FavouriteCaptions favourite_captions(const FavouriteSlots& slots,
                                     const std::vector<std::string>& names) {
    FavouriteCaptions captions;
    for (int k = 0; k < favourite_slots_used; ++k) {
        const int n = slots[static_cast<std::size_t>(k)];
        if (n >= 1 && n <= static_cast<int>(names.size()))
            captions[static_cast<std::size_t>(k)] = names[static_cast<std::size_t>(n - 1)];
    }
    return captions;
}

FavouriteColours fav_highlight(const FavouriteSlots& slots, int n) {
    FavouriteColours colours;
    // An empty slot never matches, even for a caller that passes the marker.
    for (int k = 0; k < favourite_slots_used; ++k)
        colours[static_cast<std::size_t>(k)] =
            slots[static_cast<std::size_t>(k)] == n && n != favourite_empty
                ? gen_colour::lit
                : gen_colour::favourite_idle;
    return colours;
}

}  // namespace t27
