#include <gtest/gtest.h>

#include "generator/calibration.h"

namespace t27 {
namespace {

TEST(CalibrationLogic, TypedValuesAreDigitsUpTo255) {
    const CalibrateEntry ok = calibrate_typed_value("255");
    EXPECT_TRUE(ok.valid);
    EXPECT_EQ(ok.value, 255);
    EXPECT_EQ(ok.text, "255");
    for (const char* bad : {"256", "12a", "", "   ", "-1", "+5", "1 2", "99999999999999999999"})
        EXPECT_FALSE(calibrate_typed_value(bad).valid) << bad;
}

TEST(CalibrationLogic, TypedValueKeepsLeadingZerosButNotBlanks) {
    const CalibrateEntry e = calibrate_typed_value("  007 ");
    EXPECT_TRUE(e.valid);
    EXPECT_EQ(e.value, 7);
    EXPECT_EQ(e.text, "007");
    EXPECT_TRUE(calibrate_typed_value("0000000000255").valid);
    EXPECT_EQ(calibrate_typed_value("0").value, 0);
}

TEST(CalibrationLogic, ColourRepliesMatchTheLowerCaseEntry) {
    EXPECT_EQ(calibrate_colour_entry("white"), 0);
    EXPECT_EQ(calibrate_colour_entry("cyan"), 6);
    EXPECT_EQ(calibrate_colour_entry("user"), 7);
    EXPECT_EQ(calibrate_colour_entry("User"), -1);
    EXPECT_EQ(calibrate_colour_entry("purple"), -1);
    EXPECT_EQ(calibrate_colour_entry(""), -1);
}

TEST(CalibrationLogic, Requests) {
    EXPECT_EQ(calibrate_set_request(CalComponent::red, "255"), "$color_cal_red 255");
    EXPECT_EQ(calibrate_set_request(CalComponent::level, "007"), "$color_cal_level 007");
    EXPECT_EQ(calibrate_set_request(CalComponent::green, "1"), "$color_cal_green 1");
    EXPECT_EQ(calibrate_set_request(CalComponent::blue, "2"), "$color_cal_blue 2");
    EXPECT_EQ(calibrate_query(CalComponent::blue), "$color_cal_blue?");
    EXPECT_EQ(calibrate_query(CalComponent::level), "$color_cal_level?");
    EXPECT_EQ(calibrate_colour_request(0), "$color_cal_color White");
    EXPECT_EQ(calibrate_colour_request(7), "$color_cal_color User");
    EXPECT_EQ(calibrate_colour_request(8), "");
    EXPECT_EQ(calibrate_colour_query(), "$color_cal_color?");
}

TEST(CalibrationLogic, ReportedValuesMoveTheBarOnlyWhenInRange) {
    EXPECT_EQ(calibrate_reply_value("128"), 128);
    EXPECT_EQ(calibrate_reply_value("0"), 0);
    EXPECT_FALSE(calibrate_reply_value("300"));
    EXPECT_FALSE(calibrate_reply_value("abc"));
    EXPECT_FALSE(calibrate_reply_value("None"));
}

}  // namespace
}  // namespace t27
