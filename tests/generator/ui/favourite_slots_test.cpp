#include "generator/favourite_slots.h"

#include <gtest/gtest.h>

namespace t27 {
namespace {

std::vector<bool> ticks(int count, std::initializer_list<int> on) {
    std::vector<bool> t(static_cast<std::size_t>(count), false);
    for (int n : on) t[static_cast<std::size_t>(n - 1)] = true;
    return t;
}

TEST(FavouriteSlots, TicksFillTheSlotsInListOrderWhateverTheTickingOrder) {
    const std::optional<FavouriteSlots> s = slots_after_tick(ticks(120, {30, 5, 12}));
    ASSERT_TRUE(s);
    EXPECT_EQ((*s)[0], 5);
    EXPECT_EQ((*s)[1], 12);
    EXPECT_EQ((*s)[2], 30);
    for (int k = 3; k < 19; ++k) EXPECT_EQ((*s)[static_cast<std::size_t>(k)], 254) << k;
}

TEST(FavouriteSlots, EighteenFitANineteenthIsRefused) {
    std::vector<bool> t(40, false);
    for (int n = 2; n <= 19; ++n) t[static_cast<std::size_t>(n - 1)] = true;
    const std::optional<FavouriteSlots> full = slots_after_tick(t);
    ASSERT_TRUE(full);
    EXPECT_EQ((*full)[0], 2);
    EXPECT_EQ((*full)[17], 19);
    EXPECT_EQ((*full)[18], 254);  // the spare slot is never used

    t[39] = true;
    EXPECT_FALSE(slots_after_tick(t));
}

TEST(FavouriteSlots, NoTicksOrEmptyListGiveEmptySlots) {
    EXPECT_EQ(*slots_after_tick({}), no_favourites());
    EXPECT_EQ(*slots_after_tick(ticks(5, {})), no_favourites());
    for (int v : no_favourites()) EXPECT_EQ(v, 254);
}

TEST(FavouriteSlots, TicksFromSlotsSkipEmptyAndOutOfRangeSlots) {
    FavouriteSlots s = no_favourites();
    s[0] = 3;
    s[1] = 7;
    s[2] = 0;
    s[3] = 11;  // past a ten-entry list
    const std::vector<bool> t = ticks_from_slots(s, 10);
    EXPECT_EQ(t, ticks(10, {3, 7}));
    EXPECT_TRUE(ticks_from_slots(s, 0).empty());
}

TEST(FavouriteSlots, CaptionsNameTheSlotEntries) {
    const std::vector<std::string> names = {"one", "two", "three"};
    FavouriteSlots s = no_favourites();
    s[0] = 3;
    s[1] = 1;
    s[2] = 4;  // no such entry
    const FavouriteCaptions c = favourite_captions(s, names);
    EXPECT_EQ(c[0], "three");
    EXPECT_EQ(c[1], "one");
    EXPECT_EQ(c[2], "");
    EXPECT_EQ(c[17], "");
}

TEST(FavouriteSlots, HighlightLightsOnlyTheSlotHoldingTheNumber) {
    FavouriteSlots s = no_favourites();
    s[0] = 5;
    s[1] = 12;
    const FavouriteColours lit = fav_highlight(s, 12);
    EXPECT_EQ(lit[1], 49152u);
    EXPECT_EQ(lit[0], 14737632u);
    EXPECT_EQ(lit[2], 14737632u);

    const FavouriteColours none = fav_highlight(s, 7);
    for (Colour c : none) EXPECT_EQ(c, 14737632u);
    // The empty marker is not a number of any entry.
    for (Colour c : fav_highlight(s, 254)) EXPECT_EQ(c, 14737632u);
}

}  // namespace
}  // namespace t27
