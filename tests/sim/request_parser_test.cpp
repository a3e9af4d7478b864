#include "sim/request_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace t27::sim {
namespace {

// 128 data bytes as the program writes them: two upper-case hex digits and
// a blank each.
std::string triplets(int first) {
    static const char* hex = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < 128; ++i) {
        int v = (first + i) & 0xFF;
        s += hex[v >> 4];
        s += hex[v & 15];
        s += ' ';
    }
    return s;
}

std::vector<Request> feed_in_pieces(const std::string& stream, std::mt19937& rng) {
    RequestParser p;
    std::vector<Request> all;
    std::size_t pos = 0;
    while (pos < stream.size()) {
        std::size_t n = std::uniform_int_distribution<std::size_t>(1, 17)(rng);
        for (Request& r : p.feed(std::string_view(stream).substr(pos, n))) all.push_back(r);
        pos += n;
    }
    EXPECT_TRUE(p.idle());
    return all;
}

TEST(RequestParser, SameRequestsWhateverTheChunking) {
    const std::string block0 = triplets(0);
    const std::string block1 = triplets(0x80);
    // A serial block write arrives as line + 64 triplets, then 64 triplets + CR.
    const std::string stream = "$model?\r$board_id?\r\n$audio_mute on\r" +
                               std::string("$edid_write c1,block0\r\n") + block0 + "\r" +
                               "$edid_write c1,block1\r\n" + block1 + "\r" + "$fwver?\r";
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        std::vector<Request> reqs = feed_in_pieces(stream, rng);
        ASSERT_EQ(reqs.size(), 6u);
        EXPECT_EQ(reqs[0].line, "$model?");
        EXPECT_EQ(reqs[1].line, "$board_id?");
        EXPECT_EQ(reqs[2].line, "$audio_mute on");
        EXPECT_EQ(reqs[3].line, "$edid_write c1,block0");
        EXPECT_TRUE(reqs[3].has_data);
        EXPECT_EQ(reqs[3].data, block0);
        EXPECT_EQ(reqs[4].data, block1);
        EXPECT_EQ(reqs[5].line, "$fwver?");
        EXPECT_FALSE(reqs[5].has_data);
    }
}

TEST(RequestParser, LineEndsAndStrayBytes) {
    RequestParser p;
    // LF split from its CR by a chunk boundary is still part of the line end.
    auto a = p.feed("$model?\r");
    auto b = p.feed("\n$fwver?\r");
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].line, "$fwver?");
    // An empty line is handed on as an empty request (the unit ignores it);
    // a stray LF is dropped.
    auto c = p.feed("\r\n\n$x\n?\r");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].line, "");
    EXPECT_EQ(c[1].line, "$x?");
    // Bytes 128-255 and NUL travel unchanged.
    std::string odd = std::string("$motion_text \xE9\x00\xFF", 16) + "\r";
    auto d = p.feed(odd);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].line, odd.substr(0, odd.size() - 1));
}

TEST(RequestParser, EndlessLineIsCappedAndTheNextLineSurvives) {
    RequestParser p;
    std::string junk(100000, 'x');
    EXPECT_TRUE(p.feed(junk).empty());
    EXPECT_FALSE(p.idle());
    auto r = p.feed("\r$model?\r");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].truncated);
    EXPECT_EQ(r[0].line.size(), RequestParser::max_line);
    EXPECT_EQ(r[1].line, "$model?");
    EXPECT_FALSE(r[1].truncated);
}

TEST(RequestParser, BlockWithoutItsCrDoesNotSwallowTheNextRequest) {
    RequestParser p;
    std::string block = triplets(3);
    auto r = p.feed("$edid_write c2,block0\r\n" + block + "$model?\r");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].data, block);
    EXPECT_EQ(r[1].line, "$model?");
}

TEST(RequestParser, ShortBlockEndsAtItsCr) {
    RequestParser p;
    auto r = p.feed("$edid_write c2,block1\r\n00 01 \r$model?\r");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].has_data);
    EXPECT_EQ(r[0].data, "00 01 ");
    EXPECT_EQ(r[1].line, "$model?");
}

}  // namespace
}  // namespace t27::sim
