#include "protocol/com_map.h"

#include <gtest/gtest.h>

namespace t27 {
namespace {

TEST(ComMap, EnumeratedDevicesFillNumbersInStableOrder) {
    const std::vector<std::string> found = {"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0",
                                            "/dev/ttyUSB9", "/dev/ttyACM0"};
    const ComMap a = build_com_map(found, "");
    EXPECT_EQ(a.device_for(1), "/dev/ttyACM0");
    EXPECT_EQ(a.device_for(2), "/dev/ttyUSB9");
    EXPECT_EQ(a.device_for(3), "/dev/ttyUSB10");
    EXPECT_EQ(a.device_for(4), "/dev/ttyS0");
    EXPECT_EQ(a.device_for(5), "/dev/ttyS1");
    EXPECT_EQ(a.device_for(6), "");
    EXPECT_EQ(a.device_for(0), "");
    EXPECT_EQ(a.device_for(17), "");

    std::vector<std::string> shuffled(found.rbegin(), found.rend());
    EXPECT_EQ(build_com_map(shuffled, "").device, a.device);
}

TEST(ComMap, FilePinsNumbersAndOthersFillAroundThem) {
    const std::string file =
        "# demo\r\nCOM3 = /dev/pts/7\r\n2=/dev/ttyUSB0  # the adapter\ncom16=/dev/pts/9\n"
        "COM17=/dev/x\nbogus line\nCOM4=\n";
    const ComMap m = build_com_map({"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1"}, file);
    EXPECT_EQ(m.device_for(3), "/dev/pts/7");
    EXPECT_EQ(m.device_for(2), "/dev/ttyUSB0");
    EXPECT_EQ(m.device_for(16), "/dev/pts/9");
    EXPECT_EQ(m.device_for(1), "/dev/ttyS0");  // the adapter is already pinned
    EXPECT_EQ(m.device_for(4), "/dev/ttyS1");
    EXPECT_EQ(m.problems.size(), 3u);
    EXPECT_EQ(m.com_for("/dev/pts/7"), 3);
    EXPECT_EQ(m.com_for("/dev/none"), 0);
}

// Re-enumerating while the program runs: a device that stays keeps its
// number whatever was plugged in or pulled out around it.
TEST(ComMap, DevicesKeepTheirNumbersAcrossReEnumeration) {
    using Devices = std::vector<std::string>;
    struct Case {
        const char* what;
        std::vector<Devices> steps;  // what the system lists, one re-enumeration each
        std::string file;
        Devices expected;  // COM1.. after the last step
    };
    const std::vector<Case> cases = {
        {"adapter plugged in before the others in stable order",
         {{"/dev/ttyUSB1", "/dev/ttyS0"}, {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"}},
         "",
         {"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0"}},
        {"adapter pulled out leaves a gap, others stay",
         {{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"}, {"/dev/ttyUSB1", "/dev/ttyS0"}},
         "",
         {"", "/dev/ttyUSB1", "/dev/ttyS0"}},
        {"replugged adapter gets its number back",
         {{"/dev/ttyUSB0", "/dev/ttyS0"}, {"/dev/ttyS0"}, {"/dev/ttyUSB0", "/dev/ttyS0"}},
         "",
         {"/dev/ttyUSB0", "/dev/ttyS0"}},
        {"a pin in the file still wins",
         {{"/dev/ttyUSB0", "/dev/ttyS0"}, {"/dev/ttyUSB0", "/dev/ttyS0"}},
         "COM1=/dev/pts/3\n",
         {"/dev/pts/3", "/dev/ttyS0", "/dev/ttyUSB0"}},
        {"macOS adapters come first",
         {{"/dev/cu.Bluetooth-Incoming-Port", "/dev/cu.usbserial-A10K", "/dev/cu.usbmodem1421"}},
         "",
         {"/dev/cu.usbmodem1421", "/dev/cu.usbserial-A10K", "/dev/cu.Bluetooth-Incoming-Port"}},
    };
    for (const Case& c : cases) {
        ComMap map;
        for (std::size_t s = 0; s < c.steps.size(); ++s) {
            const bool last = s + 1 == c.steps.size();
            map = build_com_map(c.steps[s], last ? c.file : "", s == 0 ? nullptr : &map);
        }
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(map.device_for(static_cast<int>(i) + 1), c.expected[i])
                << c.what << ", COM" << i + 1;
    }
}

TEST(ComMap, ParsesComNames) {
    EXPECT_EQ(parse_com_name("COM1"), 1);
    EXPECT_EQ(parse_com_name("com16"), 16);
    EXPECT_EQ(parse_com_name(" 7 "), 7);
    EXPECT_EQ(parse_com_name("COM0"), 0);
    EXPECT_EQ(parse_com_name("COM17"), 0);
    EXPECT_EQ(parse_com_name("COMX"), 0);
    EXPECT_EQ(parse_com_name("/dev/ttyS0"), 0);
}

// A group is named only when joining it would open the port, and never root's.
TEST(ComMap, PermissionAdviceNamesOnlyAGroupThatHelps) {
    struct Case {
        unsigned mode, gid;
        const char* group;
        bool names_group;
    };
    const Case cases[] = {
        {020660, 20, "dialout", true},  {020600, 0, "root", false},     {020660, 0, "root", false},
        {020640, 20, "dialout", false}, {020620, 20, "dialout", false}, {020666, 5, "", false},
        {020660, 7, "root", false},
    };
    for (const Case& c : cases) {
        const std::string text = serial_permission_advice("/dev/ttyUSB0", c.mode, c.gid, c.group);
        EXPECT_EQ(text.find("usermod") != std::string::npos, c.names_group) << text;
        EXPECT_EQ(text.find("docs/serial-ports.md") != std::string::npos, !c.names_group) << text;
        EXPECT_EQ(text.rfind("/dev/ttyUSB0", 0), 0u) << text;
        if (c.names_group) EXPECT_NE(text.find("-aG dialout $USER"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace t27
