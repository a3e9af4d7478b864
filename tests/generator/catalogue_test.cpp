#include "generator/catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/catalogue_load.h"
#include "generator/favourites.h"
#include "protocol/model_table.h"
#include "temp_dir.h"

namespace t27 {
namespace {

std::string lines(std::initializer_list<std::string> fields) {
    std::string out;
    for (const std::string& f : fields) out += f + "\r\n";
    return out;
}

std::string repeat_line(const std::string& field, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += field + "\r\n";
    return out;
}

TEST(CatalogueParse, ReadsBothListsInFileOrder) {
    CatalogueParse p = catalogue_parse(
        lines({"3", "\"640x480p 59.94Hz\"", "\"1920x1080i, 1250 lines 50Hz\"", "  1024x768 60Hz",
               "2", "Color Bars", "\"Red\"", "trailing fields are ignored", "7"}));
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.catalogue.timing_count(), 3);
    EXPECT_EQ(p.catalogue.timing_name(1), "640x480p 59.94Hz");
    EXPECT_EQ(p.catalogue.timing_name(2), "1920x1080i, 1250 lines 50Hz");
    EXPECT_EQ(p.catalogue.timing_name(3), "1024x768 60Hz");
    ASSERT_EQ(p.catalogue.pattern_count(), 2);
    EXPECT_EQ(p.catalogue.pattern_name(1), "Color Bars");
    EXPECT_EQ(p.catalogue.pattern_name(2), "Red");
    EXPECT_EQ(p.catalogue.timing_name(0), "");
    EXPECT_EQ(p.catalogue.timing_name(4), "");
    EXPECT_EQ(p.catalogue.pattern_name(-1), "");
}

TEST(CatalogueParse, EmptyTimingList) {
    CatalogueParse p = catalogue_parse(lines({"0", "1", "\"Only pattern\""}));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.catalogue.timing_count(), 0);
    EXPECT_EQ(p.catalogue.pattern_count(), 1);
}

TEST(CatalogueParse, FileEndingEarlyKeepsTheNamesBeforeIt) {
    CatalogueParse p = catalogue_parse(lines({"5", "\"a\"", "\"b\"", "\"c\""}));
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("timing 4"), std::string::npos) << p.error;
    ASSERT_EQ(p.catalogue.timing_count(), 3);
    EXPECT_EQ(p.catalogue.timing_name(3), "c");
    EXPECT_EQ(p.catalogue.pattern_count(), 0);
}

TEST(CatalogueParse, UnusableCounts) {
    for (const std::string& bad : {std::string("x"), std::string("-1"), std::string("40000")}) {
        CatalogueParse p = catalogue_parse(lines({bad, "\"a\""}));
        EXPECT_FALSE(p.ok) << bad;
        EXPECT_EQ(p.catalogue.timing_count(), 0) << bad;
    }
    CatalogueParse p = catalogue_parse(lines({"1", "\"a\"", "many"}));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.catalogue.timing_count(), 1);
    EXPECT_NE(p.error.find("pattern count"), std::string::npos) << p.error;
    EXPECT_TRUE(catalogue_parse("").catalogue.timings.empty());
}

TEST(CatalogueParse, HugeCountOverShortFileIsHarmless) {
    CatalogueParse p = catalogue_parse(lines({"32767", "\"a\""}));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.catalogue.timing_count(), 1);
}

// 100 patterns, patterns 3 and 7 ticked, no favourite timings.
TEST(Favourites, WrittenAsThirtySixLines) {
    Favourites f;
    f.fav_pattern[0] = 3;
    f.fav_pattern[1] = 7;
    const std::string expected = repeat_line("254", 18) + "3\r\n7\r\n" + repeat_line("254", 16);
    EXPECT_EQ(favourites_bytes(f), expected);

    FavouritesParse back = favourites_parse(expected, 120, 100);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.favourites.fav_pattern, f.fav_pattern);
    EXPECT_EQ(back.favourites.fav_timing, f.fav_timing);
}

TEST(Favourites, UnusedNineteenthSlotIsNeverWritten) {
    Favourites f;
    f.fav_timing[18] = 5;
    f.fav_pattern[18] = 6;
    EXPECT_EQ(favourites_bytes(f), repeat_line("254", 36));
}

TEST(Favourites, SlotsOutsideTheListReadAsEmpty) {
    std::string bytes = lines({"1", "10", "11", "0", "-4", "254", "2"}) + repeat_line("254", 11) +
                        lines({"5", "6"}) + repeat_line("254", 16);
    FavouritesParse p = favourites_parse(bytes, 10, 5);
    EXPECT_TRUE(p.ok) << p.error;
    const FavouriteSlots& t = p.favourites.fav_timing;
    EXPECT_EQ(t[0], 1);
    EXPECT_EQ(t[1], 10);
    EXPECT_EQ(t[2], favourite_empty);  // 11 > 10 timings
    EXPECT_EQ(t[3], favourite_empty);
    EXPECT_EQ(t[4], favourite_empty);
    EXPECT_EQ(t[5], favourite_empty);
    EXPECT_EQ(t[6], 2);
    EXPECT_EQ(p.favourites.fav_pattern[0], 5);
    EXPECT_EQ(p.favourites.fav_pattern[1], favourite_empty);  // 6 > 5 patterns
}

TEST(Favourites, EmptyCatalogueLeavesEverySlotEmpty) {
    FavouritesParse p = favourites_parse(lines({"1", "2", "3"}) + repeat_line("1", 33), 0, 0);
    for (int k = 0; k < favourite_slot_count; ++k) {
        EXPECT_EQ(p.favourites.fav_timing[static_cast<std::size_t>(k)], favourite_empty);
        EXPECT_EQ(p.favourites.fav_pattern[static_cast<std::size_t>(k)], favourite_empty);
    }
}

TEST(Favourites, DamagedFileKeepsTheSoundSlots) {
    // Slot 1 is not a number; the file ends after pattern slot 1.
    std::string bytes = lines({"4", "x", "9"}) + repeat_line("254", 15) + lines({"2", "3"});
    FavouritesParse p = favourites_parse(bytes, 20, 20);
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("timing slot 1"), std::string::npos) << p.error;
    EXPECT_EQ(p.favourites.fav_timing[0], 4);
    EXPECT_EQ(p.favourites.fav_timing[1], favourite_empty);
    EXPECT_EQ(p.favourites.fav_timing[2], 9);
    EXPECT_EQ(p.favourites.fav_pattern[0], 2);
    EXPECT_EQ(p.favourites.fav_pattern[1], 3);
    for (std::size_t k = 2; k < favourite_slot_count; ++k) {
        EXPECT_EQ(p.favourites.fav_pattern[k], favourite_empty) << k;
    }
}

TEST(CatalogueLoad, ReadsCatalogueAndItsFavouritesFile) {
    test::TempDir dir;
    dir.write("v5_timing_pattern.ini",
              lines({"2", "\"A\"", "\"B\"", "3", "\"P\"", "\"Q\"", "\"R\""}));
    dir.write("v5_timing_pattern_fav.ini",
              lines({"2"}) + repeat_line("254", 17) + lines({"1", "3"}) + repeat_line("254", 16));
    LoadedCatalogue l = catalogue_load(dir.path(), "v5_timing_pattern.ini");
    EXPECT_TRUE(l.catalogue_ok);
    EXPECT_TRUE(l.favourites_ok);
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.catalogue.pattern_name(3), "R");
    EXPECT_EQ(l.favourites.fav_timing[0], 2);
    EXPECT_EQ(l.favourites.fav_timing[1], favourite_empty);
    EXPECT_EQ(l.favourites.fav_pattern[0], 1);
    EXPECT_EQ(l.favourites.fav_pattern[1], 3);
}

TEST(CatalogueLoad, MissingFilesGiveEmptyListsAndEmptySlots) {
    test::TempDir dir;
    LoadedCatalogue l = catalogue_load(dir.path(), "v4_timing_pattern.ini");
    EXPECT_FALSE(l.catalogue_ok);
    EXPECT_FALSE(l.favourites_ok);
    EXPECT_NE(l.error.find("v4_timing_pattern.ini"), std::string::npos);
    EXPECT_NE(l.error.find("v4_timing_pattern_fav.ini"), std::string::npos);
    EXPECT_EQ(l.catalogue.timing_count(), 0);
    EXPECT_EQ(l.catalogue.pattern_count(), 0);
    EXPECT_EQ(l.favourites.fav_timing, Favourites().fav_timing);
    EXPECT_EQ(l.favourites.fav_pattern, Favourites().fav_pattern);
}

TEST(CatalogueLoad, FavouritesCheckedAgainstTheCatalogueJustRead) {
    test::TempDir dir;
    // A shorter catalogue replaced the one these favourites were saved for.
    dir.write("v4l_timing_pattern.ini", lines({"3", "a", "b", "c", "0"}));
    dir.write("v4l_timing_pattern_fav.ini",
              lines({"3", "88"}) + repeat_line("254", 16) + lines({"1"}) + repeat_line("254", 17));
    LoadedCatalogue l = catalogue_load(dir.path(), "v4l_timing_pattern.ini");
    EXPECT_TRUE(l.catalogue_ok);
    EXPECT_EQ(l.favourites.fav_timing[0], 3);
    EXPECT_EQ(l.favourites.fav_timing[1], favourite_empty);
    EXPECT_EQ(l.favourites.fav_pattern[0], favourite_empty);
}

// The catalogue per family, board and model as the link sequence chooses it.
TEST(CatalogueChoice, FileForEachLinkState) {
    struct Case {
        int family;
        int board;
        const char* model;
        const char* file;
    };
    const Case cases[] = {
        {254, 254, "", "v4_timing_pattern.ini"},
        {0, 0, "T27", "v4_timing_pattern.ini"},
        {0, 2, "RQTA-V4", "v4_timing_pattern.ini"},
        {1, 0, "T28", "v4l_t_old_timing_pattern.ini"},
        {1, 2, "T28", "v4l_t_old_timing_pattern.ini"},
        {1, 0, "RO-3Z", "v4l_timing_pattern.ini"},
        {1, 2, "Vuririd Uva.Z", "v4l_timing_pattern.ini"},
        {1, 1, "T28", "v4l_t_new_timing_pattern.ini"},
        {1, 1, "RQTA-V4L", "v4l_t_new_timing_pattern.ini"},
        {2, 0, "RQTA-V5", "v5_timing_pattern.ini"},
        {2, 1, "RQTA-V5", "v5_timing_pattern.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(catalogue_file_for(c.family, c.board, c.model), c.file)
            << c.family << "/" << c.board << "/" << c.model;
    }
    EXPECT_EQ(favourites_file_for("v4l_t_old_timing_pattern.ini"),
              "v4l_t_old_timing_pattern_fav.ini");
}

}  // namespace
}  // namespace t27
