// The Monitor tab against t27-unit-sim running as its own process, reached
// over TCP on 127.0.0.1: each view in turn, then a report.
#include <QCheckBox>
#include <QRadioButton>

#include "tests/analyser/ui/monitor_fixture.h"
#include "tests/e2e/process_support.h"

namespace t27::testing {
namespace {

TEST_F(MonitorTest, EveryViewPollsTheSimulatorProcess) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--quiet"}));
    const std::size_t colon = sim.listen.rfind(':');
    ASSERT_NE(colon, std::string::npos);
    write_settings(1, "127.0.0.1", 1);
    MainWindow& w = open_monitor_window();
    w.set_unit_port(static_cast<quint16>(std::stoi(sim.listen.substr(colon + 1))));
    find<QPushButton>("cmd_eth_open")->click();
    ASSERT_TRUE(wait_until([&] { return w.unit().model_family != not_known; }));
    click_tab(tab_monitor);

    // One value per view that only a full trip through poll, decoding and
    // display can produce.
    struct Check {
        int view;
        const char* label;
        const char* value;
    };
    const Check checks[] = {
        {view_system, "lab_source_audiox", "LPCM"},
        {view_video_timing, "lab_item_val_14", "60.00"},
        {view_audio_timing, "lab_item_val_a_6", "Locked"},
        {view_packet, "lab_item_val_p_6", " 16 1920x1080p 59/60 16:9"},
        {view_hdcp_scdc, "lab_item_val_h_2", "v1.4+v2.2"},
    };
    for (const Check& c : checks) {
        find<QRadioButton>(QStringLiteral("opt_mon_type_%1").arg(c.view).toLatin1().constData())
            ->click();
        EXPECT_TRUE(wait_text(c.label, c.value)) << c.label << " shows '" << text(c.label) << "'";
    }

    find<QCheckBox>("chk_mon_report_3")->setChecked(true);
    find<QPushButton>("cmd_monitor_report")->click();
    EXPECT_NE(tab->report_text().find("\r\n   VIC =  16 1920x1080p 59/60 16:9\r\n"),
              std::string::npos)
        << tab->report_text();
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace t27::testing
