#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "generator/field_reader.h"
#include "generator/field_writer.h"

namespace t27 {
namespace {

TEST(FieldReader, QuotedUnquotedAndBlankSkipping) {
    FieldReader r("  \"a, b\"  ,plain text  ,\"line\r\nend\"\r\n   next\r\n\"\"\r\n");
    EXPECT_EQ(r.read_text(), "a, b");
    EXPECT_EQ(r.read_text(), "plain text");
    EXPECT_EQ(r.read_text(), "line\r\nend");
    EXPECT_EQ(r.read_text(), "next");
    EXPECT_EQ(r.read_text(), "");
    EXPECT_TRUE(r.at_end());
    EXPECT_EQ(r.read_text(), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::end_of_data);
    // Asking again past the end stays safe.
    EXPECT_EQ(r.read_text(), std::nullopt);
}

TEST(FieldReader, TextAfterClosingQuoteIsDroppedUpToTheDelimiter) {
    FieldReader r("\"abc\"junk,\"def\"\r\n");
    EXPECT_EQ(r.read_text(), "abc");
    EXPECT_EQ(r.read_text(), "def");
}

TEST(FieldReader, LineEndsOfOtherConventionsSeparateFields) {
    FieldReader r("1\n2\r3\r\n4");
    for (int want = 1; want <= 4; ++want) EXPECT_EQ(r.read_integer(0, 10), want);
    EXPECT_EQ(r.read_integer(0, 10), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::end_of_data);
}

TEST(FieldReader, NumberForms) {
    FieldReader r("12, -3 ,+7,1440.5,1441.5,1.5e+07,.25,\"42\"\r\n");
    EXPECT_EQ(r.read_integer(-100, 100), 12);
    EXPECT_EQ(r.read_integer(-100, 100), -3);
    EXPECT_EQ(r.read_integer(-100, 100), 7);
    // Halves round to the even neighbour.
    EXPECT_EQ(r.read_integer(0, 100000), 1440);
    EXPECT_EQ(r.read_integer(0, 100000), 1442);
    EXPECT_EQ(r.read_integer(0, 100000000), 15000000);
    EXPECT_EQ(r.read_number(), 0.25);
    EXPECT_EQ(r.read_integer(0, 100), 42);
}

TEST(FieldReader, BadNumberIsReportedAndTheNextFieldStillReads) {
    FieldReader r("abc\r\n12x\r\n\r\ninf\r\n0x10\r\n99999\r\n5\r\n");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.read_integer(-1000, 1000), std::nullopt) << "field " << i;
        EXPECT_EQ(r.error(), FieldError::not_a_number) << "field " << i;
    }
    EXPECT_EQ(r.read_integer(-1000, 1000), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::out_of_range);
    EXPECT_EQ(r.read_integer(-1000, 1000), 5);
    EXPECT_EQ(r.error(), FieldError::none);
}

TEST(FieldReader, OpenQuoteEndsTheData) {
    FieldReader r("1\r\n\"never closed, 2\r\n3\r\n");
    EXPECT_EQ(r.read_integer(0, 9), 1);
    EXPECT_EQ(r.read_text(), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::open_quote);
    EXPECT_EQ(r.read_integer(0, 9), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::end_of_data);
}

TEST(FieldReader, ErrorMessageNamesTheLine) {
    FieldReader r("1\r\n2\r\nthree\r\n");
    r.read_integer(0, 9);
    r.read_integer(0, 9);
    EXPECT_EQ(r.read_integer(0, 9), std::nullopt);
    EXPECT_EQ(field_error_message(r), "line 3: not a number");
}

TEST(FieldReader, EmptyInput) {
    FieldReader r("");
    EXPECT_TRUE(r.at_end());
    EXPECT_EQ(r.read_number(), std::nullopt);
    EXPECT_EQ(r.error(), FieldError::end_of_data);
}

TEST(FieldWriter, OneFieldPerLineWithCrLf) {
    FieldWriter w;
    w.integer(0);
    w.integer(-254);
    w.text("C:\\edid\\a, b.hex");
    w.text("");
    w.single(1440.0f);
    EXPECT_EQ(w.bytes(), "0\r\n-254\r\n\"C:\\edid\\a, b.hex\"\r\n\"\"\r\n1440\r\n");
}

TEST(FieldWriter, QuoteInsideTextCannotBreakTheFieldsAfterIt) {
    FieldWriter w;
    w.text("say \"hi\", ok");
    w.integer(7);
    EXPECT_EQ(w.bytes(), "\"say 'hi', ok\"\r\n7\r\n");
    FieldReader r(w.bytes());
    EXPECT_EQ(r.read_text(), "say 'hi', ok");
    EXPECT_EQ(r.read_integer(0, 9), 7);
}

TEST(FieldWriter, SingleShortestForm) {
    EXPECT_EQ(single_text(1440.0f), "1440");
    EXPECT_EQ(single_text(-2880.0f), "-2880");
    EXPECT_EQ(single_text(0.5f), "0.5");
    EXPECT_EQ(single_text(-12.25f), "-12.25");
    EXPECT_EQ(single_text(0.1f), "0.1");
    EXPECT_EQ(single_text(15000000.0f), "1.5e+07");
    EXPECT_EQ(single_text(-0.0f), "0");
    EXPECT_EQ(single_text(std::numeric_limits<float>::quiet_NaN()), "0");
    EXPECT_EQ(single_text(std::numeric_limits<float>::infinity()), "0");
}

TEST(FieldFormat, WrittenFieldsReadBack) {
    const float singles[] = {0.1f, 3.3333333f, 123456.7f, -9999999.0f, 1.25e9f, 7.0e-5f};
    FieldWriter w;
    w.text("x, \"y\"");
    for (float f : singles) w.single(f);
    w.integer(-32768);
    FieldReader r(w.bytes());
    EXPECT_EQ(r.read_text(), "x, 'y'");
    for (float f : singles) {
        std::optional<double> v = r.read_number();
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(static_cast<float>(*v), f);
    }
    EXPECT_EQ(r.read_integer(-32768, 32767), -32768);
    EXPECT_TRUE(r.at_end());
}

}  // namespace
}  // namespace t27
