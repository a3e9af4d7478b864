#include "sim/discovery.h"

#include <gtest/gtest.h>

#include <string>

namespace t27::sim {
namespace {

DiscoveryIdentity bench_unit() {
    DiscoveryIdentity id;
    id.name = "T27";
    id.description = "bench";
    id.ip = {127, 0, 0, 9};
    id.mac = {0x02, 0xAB, 0x00, 0x10, 0x20, 0xFF};
    return id;
}

TEST(Discovery, RecognisesOnlyTheFourByteRequest) {
    EXPECT_TRUE(is_discovery_request(std::string("\x01\x00\xFF\xFF", 4)));
    EXPECT_FALSE(is_discovery_request(std::string("\x01\x00\xFF", 3)));
    EXPECT_FALSE(is_discovery_request(std::string("\x01\x00\xFF\xFF\x00", 5)));
    EXPECT_FALSE(is_discovery_request(std::string("\x02\x00\xFF\xFF", 4)));
}

TEST(Discovery, AnswerIsHeaderThenMacIpNameDescriptionRecords) {
    const std::string expected = std::string("\x02\x00", 2) +                          // header
                                 std::string("\x02\x06\x02\xAB\x00\x10\x20\xFF", 8) +  // MAC
                                 std::string("\x03\x04\x7F\x00\x00\x09", 6) +          // IP
                                 std::string("\x0D\x03T27", 5) +                       // name
                                 std::string(
                                     "\x0E\x05"
                                     "bench",
                                     7);  // description
    EXPECT_EQ(discovery_answer(bench_unit()), expected);
}

TEST(Discovery, MalformedVariantsBreakWhatTheySay) {
    DiscoveryIdentity id = bench_unit();
    std::string good = discovery_answer(id);
    std::string overrun = discovery_answer(id, "overrun");
    ASSERT_EQ(overrun.size(), good.size());
    // The description record is the last: its length byte claims 40 more
    // bytes than the datagram holds.
    EXPECT_EQ(static_cast<unsigned char>(overrun[good.size() - 6]), 5u + 40u);
    std::string trunc = discovery_answer(id, "truncated");
    EXPECT_EQ(trunc.size(), 2u + 8u + 4u);
    EXPECT_EQ(trunc[10], '\x03');
    std::string first = discovery_answer(id, "desc-first");
    EXPECT_EQ(first.size(), good.size());
    EXPECT_EQ(first[first.size() - 6], '\x03');  // IP record last
    std::string nodesc = discovery_answer(id, "no-desc");
    EXPECT_EQ(nodesc.find('\x0E'), std::string::npos);
    std::string huge = discovery_answer(id, "huge-len");
    EXPECT_EQ(static_cast<unsigned char>(huge[3]), 255u);
    EXPECT_FALSE(is_malformed_variant("nonsense"));
}

TEST(Discovery, AddressTexts) {
    std::array<std::uint8_t, 6> mac{};
    EXPECT_TRUE(parse_mac("02:ab:00:10:20:FF", mac));
    EXPECT_EQ(mac[1], 0xAB);
    EXPECT_EQ(mac[5], 0xFF);
    EXPECT_FALSE(parse_mac("02:ab:00:10:20", mac));
    EXPECT_FALSE(parse_mac("02-ab-00-10-20-ff", mac));
    EXPECT_FALSE(parse_mac("02:ab:00:10:20:fg", mac));
    std::array<std::uint8_t, 4> ip{};
    EXPECT_TRUE(parse_ipv4("10.0.200.255", ip));
    EXPECT_EQ(ip[2], 200);
    EXPECT_FALSE(parse_ipv4("10.0.200.256", ip));
    EXPECT_FALSE(parse_ipv4("10.0.200", ip));
    EXPECT_FALSE(parse_ipv4("10.0.200.1.", ip));
    EXPECT_FALSE(parse_ipv4("10..200.1", ip));
}

}  // namespace
}  // namespace t27::sim
