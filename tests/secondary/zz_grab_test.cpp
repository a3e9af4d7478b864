#include <gtest/gtest.h>

#include <QLineEdit>

#include "mainwin/about_box.h"
#include "mainwin/command_monitor.h"
#include "mainwin/device_dialog.h"
#include "mainwin/discovery_panel.h"
#include "tests/support/virtual_pump.h"
namespace t27 {
struct NullView : EngineView {
    void show_message(const std::string&, MessageIcon) override {}
    void set_link_label(const std::string&, Colour) override {}
};
TEST(Grab, All) {
    LinkState link;
    UnitIdentity unit;
    testing::VirtualPump pump;
    NullView v;
    Engine e(link, unit, pump, v);
    MainState st;
    st.current_tab = 4;
    link.monitor_log = "$help<CR><LF>\r\nT27 2.18.07 commands:<CR><LF>\r\n$fwver?<CR><LF>\r\n<EOT>";
    CommandMonitor m(e, st, pump, nullptr);
    m.show();
    m.grab().save("/tmp/grab_monitor4.png");
    st.current_tab = 0;
    m.monitor_pause_set();
    m.findChild<QLineEdit*>("txt_tx_str")->setText("$fwver?");
    m.grab().save("/tmp/grab_monitor0.png");
    AboutBox a;
    a.show();
    a.grab().save("/tmp/grab_about.png");
    std::vector<PortRecord> ports(1);
    ports[0].location = "/dev/ttyUSB0";
    ports[0].description = "FT232R USB UART";
    ports[0].vendor_id = 0x403;
    ports[0].product_id = 0x6001;
    DeviceDialog d(ports, build_com_map({"/dev/ttyUSB0"}, "COM3=/dev/pts/4\nbad line\n"));
    d.show();
    d.grab().save("/tmp/grab_devices.png");
    DiscoveryPanel p(nullptr, DiscoveryTargets::loopback());
    p.resize(340, 133);
    p.show();
    p.grab().save("/tmp/grab_disc.png");
}
}  // namespace t27
