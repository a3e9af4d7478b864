#include "analyser/value_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace t27 {
namespace {

TEST(DataRate, PointBeforeTheLastThreeDigits) {
    EXPECT_EQ(data_rate_text("5940"), "5.940");
    EXPECT_EQ(data_rate_text("594"), "0.594");
    EXPECT_EQ(data_rate_text("18000"), "18.000");
    EXPECT_EQ(data_rate_text("None"), "None");
    // Short values: digits are thousandths, other text stays as sent.
    EXPECT_EQ(data_rate_text("59"), "0.059");
    EXPECT_EQ(data_rate_text("7"), "0.007");
    EXPECT_EQ(data_rate_text("ab"), "ab");
}

TEST(Frequencies, HorizontalRoundsToEvenAndGuardsAZeroTotal) {
    EXPECT_EQ(horizontal_frequency(148500000, 2200), 67500);
    EXPECT_EQ(horizontal_frequency(148500000, 0), 0);
    EXPECT_EQ(horizontal_frequency(5, 2), 2);  // 2.5 -> 2
    EXPECT_EQ(horizontal_frequency(7, 2), 4);  // 3.5 -> 4
}

TEST(Frequencies, VerticalFormatsTwoDecimalsWithoutALeadingZero) {
    EXPECT_EQ(vertical_frequency_text(74250000, 2200, 1125, "i"), "60.00");
    EXPECT_EQ(vertical_frequency_text(74250000, 2200, 1125, "p"), "30.00");
    EXPECT_EQ(vertical_frequency_text(148351648, 2200, 1125, "p"), "59.94");
    EXPECT_EQ(vertical_frequency_text(50, 10, 10, "p"), ".50");
    EXPECT_EQ(vertical_frequency_text(1, 1000, 1000, "p"), ".00");
    EXPECT_EQ(vertical_frequency_text(74250000, 0, 1125, "p"), "?");
    EXPECT_EQ(vertical_frequency_text(74250000, 2200, 0, "p"), "?");
    // Enormous replies still give digits rather than overflowing.
    EXPECT_EQ(vertical_frequency_text(9000000000000000000LL, 1, 1, "p"), "9000000000000000000.00");
}

TEST(Numbers, LeadingNumberAndRounding) {
    EXPECT_DOUBLE_EQ(leading_number("148500"), 148500.0);
    EXPECT_DOUBLE_EQ(leading_number(" 74.25 kHz"), 74.25);
    EXPECT_DOUBLE_EQ(leading_number("-3"), -3.0);
    EXPECT_DOUBLE_EQ(leading_number("x12"), 0.0);
    EXPECT_DOUBLE_EQ(leading_number(""), 0.0);
    EXPECT_DOUBLE_EQ(leading_number("."), 0.0);
    EXPECT_EQ(pixel_clock_hz_from("148351.648"), 148351648);
    EXPECT_EQ(pixel_clock_hz_from("2376000"), 2376000000LL);  // past 32 bits
    EXPECT_EQ(pixel_clock_hz_from("None"), 0);
    EXPECT_EQ(total_from("1125"), 1125);
    EXPECT_EQ(total_from("None"), 0);
    EXPECT_EQ(total_from("99999999999999"), 2147483647);
}

TEST(Texts, LeadBlankUpperCaseAndScan) {
    EXPECT_EQ(lead_blank(10), " 10");
    EXPECT_EQ(lead_blank(0), " 0");
    EXPECT_EQ(lead_blank(-4), "-4");
    EXPECT_EQ(upper_text("hdmi_6g"), "HDMI_6G");
    EXPECT_EQ(upper_text("\xE9\xF7\xFF"), "\xC9\xF7\xFF");
    EXPECT_EQ(scan_mode_text("i"), "Interlace");
    EXPECT_EQ(scan_mode_text("p"), "Progressive");
    EXPECT_EQ(scan_mode_text("x"), "x");
}

TEST(Texts, PatternNameByOneBasedPosition) {
    const std::vector<std::string> list = {"Color Bar", "Gray Ramp", "Crosshatch"};
    EXPECT_EQ(pattern_text("1", list), "Color Bar");
    EXPECT_EQ(pattern_text("3", list), "Crosshatch");
    EXPECT_EQ(pattern_text("0", list), "0");
    EXPECT_EQ(pattern_text("4", list), "4");
    EXPECT_EQ(pattern_text("None", list), "None");
    EXPECT_EQ(pattern_text("1.5", list), "1.5");
}

}  // namespace
}  // namespace t27
