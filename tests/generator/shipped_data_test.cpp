// The catalogue, favourites and picture files that ship in data/.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/atomic_write.h"
#include "settings/catalogue_load.h"
#include "settings/program_dir.h"

namespace t27 {
namespace {

const std::string data_dir = T27_SOURCE_DATA_DIR;

struct Shipped {
    const char* file;
    int timings;
    int patterns;
    bool uhd;  // carries 3840x2160 timings
    bool old_board;
};

// Counts as the firmware lines define them (tools/make_catalogues.py).
const Shipped shipped[] = {
    {"v4_timing_pattern.ini", 112, 48, false, false},
    {"v4l_timing_pattern.ini", 104, 46, false, false},
    {"v4l_t_old_timing_pattern.ini", 100, 44, false, true},
    {"v4l_t_new_timing_pattern.ini", 119, 53, true, false},
    {"v5_timing_pattern.ini", 130, 58, true, false},
};

std::string read(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(read_file_bytes(program_path(data_dir, name), bytes)) << name;
    return bytes;
}

// Text only, CR LF line ends, nothing after the last line end.
void expect_crlf_text(const std::string& bytes, const std::string& name) {
    ASSERT_GE(bytes.size(), 2u) << name;
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " byte " << i;
        } else if (c == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << name << " byte " << i;
        } else {
            ASSERT_TRUE(c >= 32 && c != 127) << name << " byte " << i;
        }
    }
}

bool has_timing(const Catalogue& c, const std::string& part) {
    for (const std::string& t : c.timings) {
        if (t.find(part) != std::string::npos) return true;
    }
    return false;
}

TEST(ShippedData, CataloguesReadWithTheirCounts) {
    for (const Shipped& s : shipped) {
        SCOPED_TRACE(s.file);
        LoadedCatalogue l = catalogue_load(data_dir, s.file);
        ASSERT_TRUE(l.catalogue_ok) << l.error;
        ASSERT_TRUE(l.favourites_ok) << l.error;
        EXPECT_EQ(l.catalogue.timing_count(), s.timings);
        EXPECT_EQ(l.catalogue.pattern_count(), s.patterns);
        EXPECT_EQ(has_timing(l.catalogue, "3840x2160"), s.uhd);
        for (const std::string& name : l.catalogue.timings) EXPECT_FALSE(name.empty());
        for (const std::string& name : l.catalogue.patterns) EXPECT_FALSE(name.empty());
        expect_crlf_text(read(s.file), s.file);
    }
}

TEST(ShippedData, SpecialNumbersHoldTheirEntries) {
    for (const Shipped& s : shipped) {
        SCOPED_TRACE(s.file);
        LoadedCatalogue l = catalogue_load(data_dir, s.file);
        EXPECT_EQ(l.catalogue.timing_name(88), "Follow Input (analyser only)");
        if (s.old_board) {
            EXPECT_EQ(l.catalogue.pattern_name(12), "Color Calibration");
        } else {
            EXPECT_EQ(l.catalogue.pattern_name(41), "Motion Text Scroll");
            EXPECT_EQ(l.catalogue.pattern_name(42), "Motion Text Bounce");
        }
    }
}

TEST(ShippedData, FavouritesFilesHoldSortedSlotsThenEmpty) {
    int ticked = 0;
    for (const Shipped& s : shipped) {
        SCOPED_TRACE(s.file);
        const std::string fav_name =
            std::string(s.file).substr(0, std::string(s.file).size() - 4) + "_fav.ini";
        const std::string bytes = read(fav_name);
        expect_crlf_text(bytes, fav_name);
        FavouritesParse p = favourites_parse(bytes, s.timings, s.patterns);
        ASSERT_TRUE(p.ok) << p.error;
        // Rewriting them changes nothing: the files are in the program's own form.
        EXPECT_EQ(favourites_bytes(p.favourites), bytes);
        for (const FavouriteSlots* row : {&p.favourites.fav_timing, &p.favourites.fav_pattern}) {
            int previous = 0;
            bool empty_seen = false;
            for (int k = 0; k < favourite_slots_used; ++k) {
                const int v = (*row)[static_cast<std::size_t>(k)];
                if (v == favourite_empty) {
                    empty_seen = true;
                    continue;
                }
                EXPECT_FALSE(empty_seen) << "slot " << k;
                EXPECT_GT(v, previous) << "slot " << k;
                previous = v;
                ++ticked;
            }
        }
    }
    EXPECT_GT(ticked, 0);
}

std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST(ShippedData, PicturesAreBitmapsOfTheirSize) {
    struct Picture {
        const char* name;
        std::uint32_t width;
        std::uint32_t height;
    };
    const Picture pictures[] = {
        {"task_analyser_on.bmp", 64, 48},   {"task_analyser_off.bmp", 64, 48},
        {"task_pattern_on.bmp", 64, 48},    {"task_pattern_off.bmp", 64, 48},
        {"task_cable_test_on.bmp", 64, 48}, {"task_cable_test_off.bmp", 64, 48},
        {"refresh_on.bmp", 32, 32},         {"refresh_off.bmp", 32, 32},
        {"refresh_busy.bmp", 32, 32},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        const std::string b = read(std::string("bmp/") + p.name);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(le32(b, 2), b.size());
        EXPECT_EQ(le32(b, 18), p.width);
        EXPECT_EQ(le32(b, 22), p.height);
    }
}

}  // namespace
}  // namespace t27
