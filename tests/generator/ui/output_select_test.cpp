#include "generator/output_select.h"

#include <gtest/gtest.h>

namespace t27 {
namespace {

TEST(OutputSelect, TimingEightyEightOnlyInAnalyserMode) {
    EXPECT_TRUE(timing_output_allowed(88, 0));
    EXPECT_FALSE(timing_output_allowed(88, 1));
    EXPECT_FALSE(timing_output_allowed(88, 2));
    EXPECT_FALSE(timing_output_allowed(88, 254));
    EXPECT_TRUE(timing_output_allowed(87, 1));
    EXPECT_TRUE(timing_output_allowed(89, 2));
}

TEST(OutputSelect, ReadBackNumberOutsideTheListMeansEntryOne) {
    EXPECT_EQ(readback_entry("250", 120), 1);
    EXPECT_EQ(readback_entry("121", 120), 1);
    EXPECT_EQ(readback_entry("120", 120), 120);
    EXPECT_EQ(readback_entry("57", 120), 57);
    EXPECT_EQ(readback_entry("0", 120), 1);
    EXPECT_EQ(readback_entry("-4", 120), 1);
    EXPECT_EQ(readback_entry("5", 0), 1);  // an empty list has no entry 5
}

TEST(OutputSelect, ReadBackNumberIsReadLeniently) {
    EXPECT_EQ(readback_entry(" 12", 120), 12);
    EXPECT_EQ(readback_entry("12abc", 120), 12);
    EXPECT_EQ(readback_entry("None", 120), 1);
    EXPECT_EQ(readback_entry("", 120), 1);
    // Rounded to the nearest integer, halves to the even one.
    EXPECT_EQ(readback_entry("7.4", 120), 7);
    EXPECT_EQ(readback_entry("7.5", 120), 8);
    EXPECT_EQ(readback_entry("6.5", 120), 6);
    // Too large for a 16-bit number: out of range, not a crash or a wrap.
    EXPECT_EQ(readback_entry("65541", 120), 1);
    EXPECT_EQ(readback_entry("99999999999999999999", 120), 1);
}

TEST(OutputSelect, ColourVariantIsT28OfTheV4lFamily) {
    EXPECT_TRUE(colour_variant("T28", 1));
    EXPECT_FALSE(colour_variant("T28", 0));
    EXPECT_FALSE(colour_variant("RO-3Z", 1));
    EXPECT_FALSE(colour_variant("t28", 1));
}

TEST(OutputSelect, ExtrasOfOrdinaryUnits) {
    for (int n : {41, 42}) {
        const PatternExtras e = pattern_extras_show(n, 3, false);
        EXPECT_TRUE(e.motion_visible) << n;
        EXPECT_FALSE(e.colour_visible) << n;
    }
    const PatternExtras twelve = pattern_extras_show(12, 12, false);
    EXPECT_FALSE(twelve.motion_visible);
    EXPECT_FALSE(twelve.colour_visible);
    EXPECT_FALSE(pattern_extras_show(40, 3, false).motion_visible);
}

TEST(OutputSelect, ExtrasOfTheColourVariant) {
    const PatternExtras other_output = pattern_extras_show(12, 7, true);
    EXPECT_TRUE(other_output.colour_visible);
    EXPECT_FALSE(other_output.colour_enabled);
    const PatternExtras being_output = pattern_extras_show(12, 12, true);
    EXPECT_TRUE(being_output.colour_visible);
    EXPECT_TRUE(being_output.colour_enabled);
    const PatternExtras motion = pattern_extras_show(41, 41, true);
    EXPECT_FALSE(motion.motion_visible);
    EXPECT_FALSE(motion.colour_visible);
}

TEST(OutputSelect, ReadBackExtras) {
    EXPECT_TRUE(pattern_readback_extras(42, false).query_motion_text);
    EXPECT_FALSE(pattern_readback_extras(42, false).set_colour_visible);
    EXPECT_FALSE(pattern_readback_extras(43, false).query_motion_text);
    const PatternReadbackExtras v12 = pattern_readback_extras(12, true);
    EXPECT_FALSE(v12.query_motion_text);
    EXPECT_TRUE(v12.set_colour_visible);
    EXPECT_TRUE(v12.colour_visible);
    EXPECT_FALSE(pattern_readback_extras(41, true).colour_visible);
    EXPECT_FALSE(pattern_readback_extras(41, true).query_motion_text);
}

TEST(OutputSelect, TrimBlanks) {
    EXPECT_EQ(trim_blanks("  HELLO  WORLD "), "HELLO  WORLD");
    EXPECT_EQ(trim_blanks("   "), "");
    EXPECT_EQ(trim_blanks(""), "");
    EXPECT_EQ(trim_blanks("x"), "x");
}

}  // namespace
}  // namespace t27
