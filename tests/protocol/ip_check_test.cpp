#include "protocol/ip_check.h"

#include <gtest/gtest.h>

namespace t27 {
namespace {

TEST(IpCheck, PartsAreReducedToTheirLeadingNumber) {
    struct Case {
        const char* entry;
        const char* text;
    };
    const Case cases[] = {
        {"192.168.1.10", "192.168.1.10"},
        {"192.168.001.010", "192.168.1.10"},
        {"000.0.00.1", "0.0.0.1"},
        {"10.0.0.300", "10.0.0.300"},  // no range check
        {"a.b.1.2", "0.0.1.2"},
        {"12abc.3x.4 5.6", "12.3.4.6"},
        {"  10.0.0.7\t ", "10.0.0.7"},
        {"1. 2.3.4", "1.2.3.4"},
        {"...", "0.0.0.0"},
        {"99999999999999999999.1.1.1", "99999999999999999999.1.1.1"},
        {"-5.+6.7.8", "-5.6.7.8"},
    };
    for (const Case& c : cases) {
        IpCheckResult r = ip_check(c.entry);
        EXPECT_TRUE(r.ok) << c.entry;
        EXPECT_EQ(r.text, c.text) << c.entry;
    }
}

TEST(IpCheck, AnythingButFourPartsIsRejected) {
    for (const char* entry : {"", "   ", "1.2.3", "1.2.3.4.5", "192.168.0.1.", "localhost"}) {
        IpCheckResult r = ip_check(entry);
        EXPECT_FALSE(r.ok) << entry;
        EXPECT_EQ(r.text, "") << entry;
    }
}

TEST(IpEntryCheck, EntryAndSavedAddressAfterTheCheck) {
    IpEntryUpdate accepted = ip_entry_check("010.001.002.003", "10.0.0.9", true);
    EXPECT_TRUE(accepted.ok);
    EXPECT_EQ(accepted.entry_text, "10.1.2.3");
    EXPECT_EQ(accepted.saved_ip, "10.1.2.3");

    // Rejected while connected: the connected unit's address comes back.
    IpEntryUpdate back = ip_entry_check("10.1.2", "10.0.0.9", true);
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.entry_text, "10.0.0.9");
    EXPECT_EQ(back.saved_ip, "10.0.0.9");

    // Rejected while not connected: the typing stays for the user to fix.
    IpEntryUpdate kept = ip_entry_check("10.1.2", "10.0.0.9", false);
    EXPECT_FALSE(kept.ok);
    EXPECT_EQ(kept.entry_text, "10.1.2");
    EXPECT_EQ(kept.saved_ip, "10.0.0.9");
}

}  // namespace
}  // namespace t27
