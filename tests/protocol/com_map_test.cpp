#include <gtest/gtest.h>

#include "protocol/com_map.h"

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

TEST(ComMap, ParsesComNames) {
    EXPECT_EQ(parse_com_name("COM1"), 1);
    EXPECT_EQ(parse_com_name("com16"), 16);
    EXPECT_EQ(parse_com_name(" 7 "), 7);
    EXPECT_EQ(parse_com_name("COM0"), 0);
    EXPECT_EQ(parse_com_name("COM17"), 0);
    EXPECT_EQ(parse_com_name("COMX"), 0);
    EXPECT_EQ(parse_com_name("/dev/ttyS0"), 0);
}

}  // namespace
}  // namespace t27
