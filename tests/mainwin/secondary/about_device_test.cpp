#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "mainwin/about_box.h"
#include "mainwin/device_dialog.h"
#include "mainwin/device_rows.h"

namespace t27::testing {
namespace {

TEST(AboutBox, ShowsVersionAndBuildDateAndClosesOnOk) {
    AboutBox box;
    EXPECT_EQ(box.objectName(), "frm_about");
    EXPECT_EQ(box.findChild<QLabel*>("lab_version")->text(), "VERSION 2.18T");
    EXPECT_EQ(box.findChild<QLabel*>("lab_build_date")->text(), "02/22/2019");
    EXPECT_FALSE(box.findChild<QLabel*>("lab_contact_0")->text().isEmpty());
    box.show();
    ASSERT_TRUE(box.isVisible());
    box.findChild<QPushButton*>("cmd_ok")->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

PortRecord port(const std::string& location, int vid = -1, int pid = -1,
                const std::string& description = {}) {
    PortRecord p;
    p.location = location;
    p.name = location.substr(location.rfind('/') + 1);
    p.description = description;
    p.vendor_id = vid;
    p.product_id = pid;
    return p;
}

std::vector<std::string> locations(const std::vector<PortRecord>& ports) {
    std::vector<std::string> out;
    for (const PortRecord& p : ports) out.push_back(p.location);
    return out;
}

bool nothing_exists(const std::string&) { return false; }
bool everything_exists(const std::string&) { return true; }

TEST(DeviceRows, ComNumbersFirstThenPortsWithoutOne) {
    PortRecord usb = port("/dev/ttyUSB0", 0x0403, 0x6001, "FT232R USB UART");
    usb.manufacturer = "FTDI";
    usb.serial_number = "A50285BI";
    const std::vector<PortRecord> ports = {port("/dev/ttyS0"), usb};
    // COM1 pinned to the on-board port, COM3 to a pseudo-terminal that the
    // system does not list; the adapter takes the first free number.
    const ComMap map =
        build_com_map(locations(ports), "COM1=/dev/ttyS0\nCOM3 = /dev/pts/7\nnonsense\n");

    const std::vector<DeviceRow> rows = device_rows(ports, map, nothing_exists);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].com, "COM1");
    EXPECT_EQ(rows[0].device, "/dev/ttyS0");
    EXPECT_EQ(rows[0].vid_pid, "");
    EXPECT_EQ(rows[0].note, "");
    EXPECT_EQ(rows[1].com, "COM2");
    EXPECT_EQ(rows[1].device, "/dev/ttyUSB0");
    EXPECT_EQ(rows[1].description, "FT232R USB UART");
    EXPECT_EQ(rows[1].manufacturer, "FTDI");
    EXPECT_EQ(rows[1].serial_number, "A50285BI");
    EXPECT_EQ(rows[1].vid_pid, "0403:6001");
    EXPECT_EQ(rows[2].com, "COM3");
    EXPECT_EQ(rows[2].device, "/dev/pts/7");
    EXPECT_EQ(rows[2].note, "set by the mapping file, not present");

    EXPECT_EQ(device_rows(ports, map, everything_exists)[2].note, "set by the mapping file");
}

TEST(DeviceRows, PortsPastSixteenHaveNoComNumber) {
    std::vector<PortRecord> ports;
    for (int i = 0; i < 18; ++i) ports.push_back(port("/dev/ttyUSB" + std::to_string(i)));
    const ComMap map = build_com_map(locations(ports), "");
    const std::vector<DeviceRow> rows = device_rows(ports, map, nothing_exists);
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[15].com, "COM16");
    EXPECT_EQ(rows[15].device, "/dev/ttyUSB15");
    EXPECT_EQ(rows[16].com, "");
    EXPECT_EQ(rows[16].device, "/dev/ttyUSB16");
    EXPECT_EQ(rows[16].note, "no COM number");
    EXPECT_EQ(rows[17].device, "/dev/ttyUSB17");
}

TEST(DeviceRows, VendorAndProductAreFourHexDigitsOrNothing) {
    EXPECT_EQ(vid_pid_text(0x1A86, 0x7523), "1A86:7523");
    EXPECT_EQ(vid_pid_text(0x2, 0xABC), "0002:0ABC");
    EXPECT_EQ(vid_pid_text(-1, 0x7523), "");
    EXPECT_EQ(vid_pid_text(0x1A86, -1), "");
    EXPECT_EQ(vid_pid_text(0x10000, 1), "");
}

TEST(DeviceDialog, TableAndIgnoredMappingLines) {
    const std::vector<PortRecord> ports = {port("/dev/ttyACM0", 0x2341, 0x0043, "Uno")};
    const ComMap map = build_com_map(locations(ports), "COM2=/dev/t27-no-such-pty\nCOM99=x\n");
    DeviceDialog dialog(ports, map);
    EXPECT_EQ(dialog.objectName(), "frm_devices");
    auto* table = dialog.findChild<QTreeWidget*>("lstv_devices");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->headerItem()->text(0), "COM");
    EXPECT_EQ(table->headerItem()->text(5), "VID:PID");
    ASSERT_EQ(table->topLevelItemCount(), 2);
    EXPECT_EQ(table->topLevelItem(0)->text(0), "COM1");
    EXPECT_EQ(table->topLevelItem(0)->text(1), "/dev/ttyACM0");
    EXPECT_EQ(table->topLevelItem(0)->text(2), "Uno");
    EXPECT_EQ(table->topLevelItem(0)->text(5), "2341:0043");
    EXPECT_EQ(table->topLevelItem(1)->text(0), "COM2");
    EXPECT_EQ(table->topLevelItem(1)->text(1), "/dev/t27-no-such-pty");
    EXPECT_EQ(table->topLevelItem(1)->text(6), "set by the mapping file, not present");

    auto* problems = dialog.findChild<QLabel*>("lab_device_problems");
    EXPECT_FALSE(problems->isHidden());
    EXPECT_TRUE(problems->text().contains("line 2: COM99=x"));

    // Without a mapping file there is nothing to complain about.
    DeviceDialog plain(ports, build_com_map(locations(ports), ""));
    EXPECT_TRUE(plain.findChild<QLabel*>("lab_device_problems")->isHidden());
}

}  // namespace
}  // namespace t27::testing
