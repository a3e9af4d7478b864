#include "protocol/discovery.h"

#include <gtest/gtest.h>

#include <string>

namespace t27 {
namespace {

const std::string header("\x00\x00", 2);

std::string rec(int type, const std::string& value) {
    return std::string(1, static_cast<char>(type)) +
           std::string(1, static_cast<char>(value.size())) + value;
}

const std::string mac_rec = rec(2, std::string("\x00\x1A\x2B\x3C\x4D\x5E", 6));
const std::string ip_rec = rec(3, std::string("\xC0\xA8\x00\x07", 4));  // 192.168.0.7
const std::string desc_rec = rec(14, "HDMI analyser/generator");

std::string answer(const std::string& name) {
    return header + mac_rec + ip_rec + rec(13, name) + desc_rec;
}

TEST(Discovery, RequestAndTargets) {
    EXPECT_EQ(discovery_request(), std::string("\x01\x00\xFF\xFF", 4));

    DiscoveryTargets t;
    EXPECT_EQ(discovery_host(t, false), "225.12.13.14");
    EXPECT_EQ(discovery_host(t, true), "255.255.255.255");
    EXPECT_EQ(t.remote_port, 31001);
    EXPECT_EQ(t.local_port, 31002);

    DiscoveryTargets lo = DiscoveryTargets::loopback();
    EXPECT_EQ(discovery_host(lo, false), "127.0.0.1");
    EXPECT_EQ(discovery_host(lo, true), "127.0.0.1");
    EXPECT_EQ(lo.remote_port, 31001);
}

TEST(Discovery, AcceptedUnitIsListedWithItsAddresses) {
    DiscoveryAnswer a = discovery_parse(answer("T27"));
    EXPECT_FALSE(a.truncated);
    ASSERT_EQ(a.units.size(), 1u);
    EXPECT_EQ(a.units[0].ip, "192.168.0.7");
    EXPECT_EQ(a.units[0].mac, "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(a.units[0].model, "T27");
}

TEST(Discovery, AcceptedNames) {
    struct Case {
        std::string name;
        std::string model;  // empty: not listed
    };
    const Case cases[] = {
        {"RQTA-V4", "RQTA-V4"},
        {"Vezarev Ove.", "Vezarev Ove."},
        {"Vuririd Uva.Z", "Vezarev Ove."},
        {"DE-4", "DE-4"},
        {"DN-K7-RMB", "DN-K7-RMB"},
        {"RQTA-V5", "RQTA-V5"},
        {"RQTA-V4L", ""},
        {"RO-3Z", ""},
        {"T28", ""},
        {"t27", ""},
        // Only the first 12 characters count.
        {"RQTA-V5     build 7", "RQTA-V5"},
        {"DN-K7-RMB extra", ""},
        // Padding and control characters do not.
        {std::string("  T27\x00\x00\x00 ", 9), "T27"},
        {std::string("DE-\x01"
                     "4\x7F",
                     6),
         "DE-4"},
    };
    for (const Case& c : cases) {
        DiscoveryAnswer a = discovery_parse(answer(c.name));
        if (c.model.empty()) {
            EXPECT_TRUE(a.units.empty()) << c.name;
        } else {
            ASSERT_EQ(a.units.size(), 1u) << c.name;
            EXPECT_EQ(a.units[0].model, c.model) << c.name;
        }
    }
}

TEST(Discovery, DescriptionBeforeItsAddressesListsEmptyTexts) {
    DiscoveryAnswer a = discovery_parse(header + rec(13, "T27") + desc_rec + mac_rec + ip_rec);
    ASSERT_EQ(a.units.size(), 1u);
    EXPECT_EQ(a.units[0].ip, "");
    EXPECT_EQ(a.units[0].mac, "");
}

TEST(Discovery, NameAfterTheDescriptionIsNotListed) {
    EXPECT_TRUE(
        discovery_parse(header + mac_rec + ip_rec + desc_rec + rec(13, "T27")).units.empty());
}

TEST(Discovery, OtherRecordTypesAreSkipped) {
    DiscoveryAnswer a =
        discovery_parse(header + rec(1, "xyz") + mac_rec + rec(9, "") + ip_rec +
                        rec(200, std::string(40, '\xFF')) + rec(13, "DE-4") + desc_rec);
    ASSERT_EQ(a.units.size(), 1u);
    EXPECT_EQ(a.units[0].ip, "192.168.0.7");
}

TEST(Discovery, ShortAddressRecordsUseWhatTheyHold) {
    DiscoveryAnswer a =
        discovery_parse(header + rec(2, std::string("\xAB\x01", 2)) +
                        rec(3, std::string("\x0A\x00\x00\x01\x63", 5)) + rec(13, "T27") + desc_rec);
    ASSERT_EQ(a.units.size(), 1u);
    EXPECT_EQ(a.units[0].mac, "AB:01");
    EXPECT_EQ(a.units[0].ip, "10.0.0.1");
}

TEST(Discovery, RecordRunningPastTheEndStopsTheParseKeepingEarlierUnits) {
    // A second unit in the same datagram whose description claims 60 bytes.
    const std::string first = answer("T27");
    const std::string second = mac_rec + rec(13, "DE-4") +
                               std::string(
                                   "\x0E\x3C"
                                   "abc",
                                   5);
    DiscoveryAnswer a = discovery_parse(first + second);
    EXPECT_TRUE(a.truncated);
    ASSERT_EQ(a.units.size(), 1u);
    EXPECT_EQ(a.units[0].model, "T27");

    // A lone type byte with no length after it.
    DiscoveryAnswer b = discovery_parse(first + std::string("\x0E", 1));
    EXPECT_EQ(b.units.size(), 1u);
}

TEST(Discovery, EveryCutOfAnAnswerParsesSafely) {
    const std::string two = answer("T27") + mac_rec + ip_rec + rec(13, "RQTA-V5") + desc_rec;
    ASSERT_EQ(discovery_parse(two).units.size(), 2u);
    std::size_t last_count = 0;
    for (std::size_t n = 0; n <= two.size(); ++n) {
        DiscoveryAnswer a = discovery_parse(std::string_view(two).substr(0, n));
        // Cutting the datagram shorter never lists more.
        EXPECT_GE(a.units.size(), last_count) << n;
        EXPECT_LE(a.units.size(), 2u) << n;
        last_count = a.units.size();
    }
}

TEST(Discovery, TinyDatagrams) {
    for (std::size_t n = 0; n <= 4; ++n) {
        EXPECT_TRUE(discovery_parse(std::string(n, '\x0E')).units.empty()) << n;
    }
    // A description as the last two bytes is past the point where the parse stops.
    EXPECT_TRUE(discovery_parse(header + rec(13, "T27") + rec(14, "")).units.empty());
    EXPECT_EQ(discovery_parse(header + rec(13, "T27") + rec(14, "x")).units.size(), 1u);
}

TEST(DiscoveryState, TwoAnswersGiveEntriesOneAndTwoAndNoRepeat) {
    DiscoveryState s;
    s.found_count = 5;
    s.discovery_repeated = true;
    discovery_start(s);
    EXPECT_EQ(s.found_count, 0);
    EXPECT_FALSE(s.discovery_repeated);

    std::vector<ListedUnit> first = discovery_accept(s, answer("T27"));
    std::vector<ListedUnit> second = discovery_accept(s, answer("RQTA-V5"));
    std::vector<ListedUnit> dropped = discovery_accept(s, answer("RQTA-V4L"));
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(first[0].index, 1);
    EXPECT_EQ(second[0].index, 2);
    EXPECT_EQ(second[0].unit.model, "RQTA-V5");
    EXPECT_EQ(s.found_count, 2);
    EXPECT_FALSE(discovery_repeat_due(s));
    EXPECT_FALSE(s.discovery_repeated);
}

TEST(DiscoveryState, RepeatOnceWhenNobodyAnswered) {
    DiscoveryState s;
    discovery_start(s);
    EXPECT_TRUE(discovery_repeat_due(s));
    EXPECT_TRUE(s.discovery_repeated);
    EXPECT_FALSE(discovery_repeat_due(s));
    // A new search may repeat again.
    discovery_start(s);
    EXPECT_TRUE(discovery_repeat_due(s));
}

}  // namespace
}  // namespace t27
