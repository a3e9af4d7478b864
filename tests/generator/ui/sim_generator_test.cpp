// The simulated unit's generator answers, request line in, reply line out.
#include <gtest/gtest.h>

#include "sim/unit_model.h"

namespace t27::sim {
namespace {

class SimGenerator : public ::testing::Test {
  protected:
    void SetUp() override { add_generator_handlers(model.handlers(), T27_DATA_DIR); }
    std::string ask(const std::string& line) { return model.handle_line(line).line; }
    UnitModel model;
};

TEST_F(SimGenerator, TimingAndPatternNumbersFollowTheFamilyCatalogue) {
    // A T27 uses the v4 catalogue: 112 timings, the first "640x480p 59.94Hz".
    EXPECT_EQ(ask("$timing 112"), "$timing 112\r\n");
    EXPECT_EQ(ask("$timing? "), "$timing? 112\r\n");
    EXPECT_EQ(ask("$timing 113"), "$timing err_param\r\n");
    EXPECT_EQ(ask("$timing 0"), "$timing err_param\r\n");
    EXPECT_EQ(ask("$timing? "), "$timing? 112\r\n");
    EXPECT_EQ(ask("$timing 1"), "$timing 1\r\n");
    EXPECT_EQ(model.state().output_timing_text, "640x480p 59.94Hz");

    // A T28 on board 0 uses the older V4L catalogue with 100 timings.
    model.state().identity.model = "T28";
    EXPECT_EQ(ask("$timing 101"), "$timing err_param\r\n");
    EXPECT_EQ(ask("$timing 100"), "$timing 100\r\n");

    EXPECT_EQ(ask("$pattern 12"), "$pattern 12\r\n");
    EXPECT_EQ(ask("$pattern? "), "$pattern? 12\r\n");
    EXPECT_EQ(ask("$pattern 9999"), "$pattern err_param\r\n");
    EXPECT_EQ(ask("$pattern x"), "$pattern err_param\r\n");
}

TEST_F(SimGenerator, CataloguesBesideTheExecutableByDefault) {
    UnitModel fresh;  // its handlers look beside the test binary, where the build copies data/
    EXPECT_EQ(fresh.handle_line("$timing 112").line, "$timing 112\r\n");
    EXPECT_EQ(fresh.handle_line("$timing 113").line, "$timing err_param\r\n");
}

TEST_F(SimGenerator, HdrPresetsMoveEotfAndColorimetry) {
    EXPECT_EQ(ask("$hdr_set 3"), "$hdr_set 3\r\n");
    EXPECT_EQ(ask("$hdr_eotf? "), "$hdr_eotf? 2084\r\n");
    EXPECT_EQ(ask("$hdr_tx_col? "), "$hdr_tx_col? 10\r\n");
    EXPECT_EQ(ask("$hdr_set 2"), "$hdr_set 2\r\n");
    EXPECT_EQ(ask("$hdr_eotf? "), "$hdr_eotf? hdr\r\n");
    EXPECT_EQ(ask("$hdr_tx_col? "), "$hdr_tx_col? 9\r\n");
    EXPECT_EQ(ask("$hdr_set 4"), "$hdr_set err_param\r\n");
    EXPECT_EQ(ask("$hdr_set?"), "$hdr_set? 2\r\n");
}

TEST_F(SimGenerator, DviCarriesEightBitRgbOnly) {
    ask("$color_space y422");
    ask("$deep_color 12");
    EXPECT_EQ(ask("$tmds_format dvi"), "$tmds_format dvi\r\n");
    EXPECT_EQ(ask("$color_space?"), "$color_space? rgb\r\n");
    EXPECT_EQ(ask("$deep_color?"), "$deep_color? 8\r\n");
    EXPECT_EQ(ask("$deep_color 10"), "$deep_color 10\r\n");
    EXPECT_EQ(ask("$tmds_format?"), "$tmds_format? hdmi\r\n");
    EXPECT_EQ(ask("$color_space rgbx"), "$color_space err_param\r\n");
}

TEST_F(SimGenerator, EachSolidColourKeepsItsLevel) {
    EXPECT_EQ(ask("$color_cal_color?"), "$color_cal_color? white\r\n");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? 255\r\n");
    EXPECT_EQ(ask("$color_cal_level 100"), "$color_cal_level 100\r\n");
    EXPECT_EQ(ask("$color_cal_color Red"), "$color_cal_color red\r\n");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? 255\r\n");
    EXPECT_EQ(ask("$color_cal_level 007"), "$color_cal_level 7\r\n");
    ask("$color_cal_color White");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? 100\r\n");
    ask("$color_cal_color red");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? 7\r\n");
    EXPECT_EQ(ask("$color_cal_level 256"), "$color_cal_level err_param\r\n");

    // The user colour has components instead of a level.
    ask("$color_cal_color User");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? err_mode\r\n");
    EXPECT_EQ(ask("$color_cal_red 10"), "$color_cal_red 10\r\n");
    EXPECT_EQ(ask("$color_cal_red?"), "$color_cal_red? 10\r\n");

    // A factory reset forgets every level.
    ask("$factory");
    ask("$color_cal_color White");
    EXPECT_EQ(ask("$color_cal_level?"), "$color_cal_level? 255\r\n");
}

}  // namespace
}  // namespace t27::sim
