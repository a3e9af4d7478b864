#pragma once
// Editing the 18 favourite slots of a row from the ticks of its list, and the
// captions and colours of the row's buttons. The slots always hold the ticked
// entries in list order, whatever order they were ticked in.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/colours.h"
#include "generator/favourites.h"

namespace t27 {

using FavouriteCaptions = std::array<std::string, favourite_slots_used>;
using FavouriteColours = std::array<Colour, favourite_slots_used>;

// `ticked[i]` is the tick of list entry i + 1. The slots for these ticks, or
// nothing when more than 18 are ticked (the new tick has to be undone and
// the slots stay as they were).
std::optional<FavouriteSlots> slots_after_tick(const std::vector<bool>& ticked);

// Which entries carry a tick for these slots (slots outside 1..count ignored).
std::vector<bool> ticks_from_slots(const FavouriteSlots& slots, int count);

// Every slot empty.
FavouriteSlots no_favourites();

// Button k shows the name of the entry in slot k, or nothing for an empty slot.
FavouriteCaptions favourite_captions(const FavouriteSlots& slots,
                                     const std::vector<std::string>& names);

// The button whose slot holds `n` is lit, every other one idle.
FavouriteColours fav_highlight(const FavouriteSlots& slots, int n);

}  // namespace t27
