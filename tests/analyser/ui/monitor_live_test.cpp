// The Monitor tab polling the unit model over loopback TCP: every view in the
// analyser mode, and the views the pattern mode has. Expected texts come from
// the model's canned 1080p60 source (RGB 8-bit, LPCM 2 ch at 48 kHz, AVI VIC
// 16, SPD "SIMSRC"/"SIM PLAYER", no VSI or DRM) read through the decoding
// rules, not from the program.
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QCheckBox>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <algorithm>

#include "analyser/commands.h"
#include "analyser/poll_list.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "sim/control.h"
#include "tests/analyser/ui/monitor_fixture.h"

namespace t27::testing {
namespace {

class MonitorLive : public MonitorTest {
  protected:
    MainWindow& live(int view) {
        MainWindow& w = linked_window();
        click_tab(tab_monitor);
        if (view != view_system) find<QRadioButton>(opt_name(view).constData())->click();
        return w;
    }
    // With T27_MONITOR_SCREENSHOTS set to a folder, the tab as it is now goes
    // there for the docs.
    void screenshot(const char* name) {
        const QByteArray folder = qgetenv("T27_MONITOR_SCREENSHOTS");
        if (folder.isEmpty()) return;
        ASSERT_NE(tab, nullptr);
        EXPECT_TRUE(tab->grab().save(QString::fromLocal8Bit(folder) + "/" + name));
    }
    static QByteArray opt_name(int view) {
        return QStringLiteral("opt_mon_type_%1").arg(view).toLatin1();
    }
    // Waits until `last` shows `value`, i.e. the poll got through the list.
    void expect_cycle(const std::string& last, const std::string& value) {
        ASSERT_TRUE(wait_text(last, value)) << last << " shows '" << text(last) << "'";
    }
    void expect_cells(const char* array, const std::vector<std::string>& cells) {
        for (std::size_t n = 0; n < cells.size(); ++n) {
            const std::string name = std::string(array) + "_" + std::to_string(n);
            EXPECT_EQ(text(name), cells[n]) << name;
        }
    }
};

TEST_F(MonitorLive, SystemViewInAnalyserMode) {
    MainWindow& w = live(view_system);
    EXPECT_EQ(find<QGroupBox>("fra_monitor_v4")->title(), "T27");
    EXPECT_TRUE(w.tim_monitor().isActive());
    EXPECT_EQ(w.state().poll_list.size(), 38u);
    expect_cycle("lab_sink_rx_scdcx", "on");
    // Source side.
    EXPECT_EQ(text("lab_source_5vx"), "on");
    EXPECT_EQ(text("lab_source_clockx"), "on");
    EXPECT_EQ(text("lab_source_syncx"), "on");
    EXPECT_EQ(text("lab_source_resox"), "1920x1080p60");
    EXPECT_EQ(text("lab_source_formatx"), "HDMI");  // "hdmi" in upper case
    EXPECT_EQ(text("lab_source_hdcpx"), "off");
    EXPECT_EQ(text("lab_source_cscx"), "RGB");       // AVI PB1 0x10: bits 7-5 = 0
    EXPECT_EQ(text("lab_source_dcx"), "8");          // GCP SB1 0x04
    EXPECT_EQ(text("lab_source_avmutex"), "Clear");  // GCP SB0 0x10
    EXPECT_EQ(text("lab_source_audiox"), "LPCM");    // asp on, then chs_code "lpcm"
    for (const char* present : {"lab_source_gcp", "lab_source_avi", "lab_source_aif"})
        EXPECT_EQ(colour(present), 0u) << present;
    for (const char* absent : {"lab_source_drmi", "lab_source_vsi"})
        EXPECT_EQ(colour(absent), 0x909090u) << absent;
    // The unit's own ports.
    EXPECT_EQ(text("lab_v4_rx_hotplugx"), "on");
    EXPECT_EQ(text("lab_v4_rx_sensex"), "on");
    EXPECT_EQ(text("lab_v4_rx_hdcpx"), "v1.4+v2.2");  // switched on, then its version
    EXPECT_EQ(text("lab_v4_rx_scdcx"), "on");
    EXPECT_EQ(text("lab_v4_rx_edid3x"), model_value("$edid_manuf? rx") + ".");
    EXPECT_EQ(text("lab_v4_rx_edid4x"), model_value("$edid_model? rx"));
    EXPECT_EQ(text("lab_v4_rx_edid2x"), model_value("$edid_native? rx"));
    EXPECT_EQ(text("lab_v4_rx_edidx"), model_value("$edid_type? rx"));
    EXPECT_EQ(text("lab_v4_reso_outx"), "1920x1080p60");
    EXPECT_EQ(text("lab_v4_outputx"), "on");
    EXPECT_EQ(text("lab_v4_tx_cscx"), "rgb");
    EXPECT_EQ(text("lab_v4_tx_dcx"), "8");
    EXPECT_EQ(text("lab_v4_tx_formatx"), "HDMI");
    EXPECT_EQ(text("lab_v4_tx_hdcpx"), "Off");
    // The sink.
    EXPECT_EQ(text("lab_sink_rx_hotplugx"), "on");
    EXPECT_EQ(text("lab_sink_rx_sensex"), "on");
    EXPECT_EQ(text("lab_sink_rx_hdcpx"), "v2.2");
    EXPECT_EQ(text("lab_sink_rx_edid3x"), model_value("$edid_manuf? sink_h") + ".");
    EXPECT_EQ(text("lab_sink_rx_edid4x"), model_value("$edid_model? sink_h"));
    EXPECT_EQ(text("lab_sink_rx_edidx"), model_value("$edid_type? sink_h"));
    EXPECT_FALSE(text("lab_v4_rx_edidx").empty());
    EXPECT_TRUE(dialogs.messages.empty());

    // The source changes while the poll runs: the next cycle shows it.
    model.state().source_items["timingx"] = "1280x720p50";
    model.state().source_items["gcp"] = "03 00 00 01 05 00 00";  // AV mute set, 30 bits
    EXPECT_TRUE(wait_text("lab_source_resox", "1280x720p50"));
    EXPECT_TRUE(wait_text("lab_source_avmutex", "Set"));
    EXPECT_EQ(text("lab_source_dcx"), "10");

    // The signal log caught those changes, the first cycle's values being
    // the baseline rather than changes; Save as CSV writes what it kept.
    EXPECT_TRUE(wait_text("lab_v4_reso_outx", "1280x720p50"));
    find<QPushButton>("cmd_signal_log")->click();
    auto* log = find<QTableView>("lstv_signal_log");
    ASSERT_TRUE(log->isVisible());
    std::vector<std::string> rows;
    for (int r = 0; r < log->model()->rowCount(); ++r) {
        std::string row;
        for (int c = 1; c < 4; ++c)
            row += log->model()->index(r, c).data().toString().toStdString() + "|";
        rows.push_back(row);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"Source Resolution|1920x1080p60|1280x720p50|",
                                              "Source Deep Color|8|10|", "Source AVMute|Clear|Set|",
                                              "T27 Out Reso.|1920x1080p60|1280x720p50|"}));
    model.state().source_items["hdcp"] = "v1.4 \"x\"";
    EXPECT_TRUE(wait_text("lab_source_hdcpx", "v1.4 \"x\""));
    dialogs.next_file = dir.path().toStdString() + "/changes";
    find<QPushButton>("cmd_signal_log_save")->click();
    QFile f(dir.path() + "/changes.csv");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string csv = f.readAll().toStdString();
    EXPECT_TRUE(csv.starts_with("time,item,old,new\r\n")) << csv;
    EXPECT_NE(csv.find(",Source HDCP,off,\"v1.4 \"\"x\"\"\"\r\n"), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6);
}

// Hunting in the window: the signal items come round between every other
// request, a 300 ms dropout is one row of its own, and the 5 V, clock and
// sync that went off and on inside it are not logged as changes.
TEST_F(MonitorLive, HuntingLogsEachDropoutAsOneRow) {
    MainWindow& w = live(view_system);
    expect_cycle("lab_sink_rx_scdcx", "on");
    find<QPushButton>("cmd_signal_log")->click();
    auto* hunt = find<QCheckBox>("chk_signal_log_hunt");
    ASSERT_FALSE(hunt->isChecked());
    hunt->click();
    const std::vector<int>& list = w.state().poll_list;
    ASSERT_EQ(list.size(), (38u - 4u) * 5u);
    EXPECT_EQ(std::count(list.begin(), list.end(), cmd::sd_5v), 34);
    // Wait for a whole round of the hunt list so the signal is known.
    ASSERT_TRUE(wait_until([&] { return w.state().poll_pos == 0; }, 10000));
    ASSERT_TRUE(wait_until([&] { return w.state().poll_pos > 10; }, 10000));
    ASSERT_EQ(sim::run_control(model, "glitch no-signal 300"), "ok");
    auto* log = find<QTableView>("lstv_signal_log");
    ASSERT_TRUE(wait_until([&] { return log->model()->rowCount() > 0; }, 5000));
    wait_until([] { return false; }, 300);  // nothing more comes
    ASSERT_EQ(log->model()->rowCount(), 1);
    EXPECT_EQ(log->model()->index(0, 1).data().toString(), "Dropout");
    EXPECT_EQ(log->model()->index(0, 2).data().toString(), "signal lost");
    const int ms = log->model()->index(0, 3).data().toString().section(' ', 0, 0).toInt();
    // Timed by the reads that saw it: within one round of the hunt list
    // (five requests on the 20 ms tick).
    EXPECT_GE(ms, 300 - 5 * 25);
    EXPECT_LE(ms, 300 + 5 * 25);

    hunt->click();
    EXPECT_EQ(w.state().poll_list.size(), 38u);
}

// CHECK: the source's signal against the EDID the unit presents, judged by
// the same rules as "t27ctl monitor check", while the view polls as before.
TEST_F(MonitorLive, SourceCheckJudgesEveryCycleBesideTheView) {
    MainWindow& w = live(view_system);
    expect_cycle("lab_sink_rx_scdcx", "on");
    find<QPushButton>("cmd_check")->click();
    auto* table = find<QTableWidget>("lstv_check");
    ASSERT_TRUE(table->isVisible());
    EXPECT_EQ(text("lab_check_edid").rfind("EDID: Rx EDID, ", 0), 0u) << text("lab_check_edid");
    // The view's 38 queries, then the check's own that the view does not send.
    EXPECT_GT(w.state().poll_list.size(), 38u);
    EXPECT_TRUE(std::equal(w.state().poll_list.begin(), w.state().poll_list.begin() + 38,
                           poll_list_for(view_system, 0).begin()));
    auto verdict = [&](const char* rule) -> QTableWidgetItem* {
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->item(r, 0)->text() == QLatin1String(rule)) return table->item(r, 1);
        return nullptr;
    };
    ASSERT_TRUE(wait_until([&] { return verdict("AVI InfoFrame")->text() == "PASS"; }, 10000));
    EXPECT_EQ(verdict("AVI InfoFrame")->background().color(), to_qcolor(colour::green));
    EXPECT_EQ(verdict("3D")->text(), "n.a.");
    EXPECT_EQ(verdict("3D")->background().color(), to_qcolor(colour::grey));

    // An HDMI source that stops sending its AVI InfoFrame fails the next cycle;
    // the view shows the same change.
    model.state().source_items["avi"] = "off";
    ASSERT_TRUE(wait_until([&] { return verdict("AVI InfoFrame")->text() == "FAIL"; }, 10000));
    EXPECT_EQ(verdict("AVI InfoFrame")->background().color(), to_qcolor(colour::red));
    EXPECT_EQ(text("lab_source_cscx"), "None");
    EXPECT_NE(text("lab_check_total").find("1 FAIL"), std::string::npos) << text("lab_check_total");

    dialogs.next_file = dir.path().toStdString() + "/check";
    find<QPushButton>("cmd_check_save")->click();
    QFile f(dir.path() + "/check.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string saved = f.readAll().toStdString();
    EXPECT_EQ(saved.rfind("EDID: Rx EDID, ", 0), 0u) << saved;
    EXPECT_NE(saved.find("\r\nAVI InfoFrame       FAIL"), std::string::npos) << saved;

    if (const QByteArray shot = qgetenv("T27_CHECK_SCREENSHOT"); !shot.isEmpty()) {
        ASSERT_EQ(sim::run_control(model, "scenario 2160p60-hdr10"), "ok");
        ASSERT_TRUE(wait_until([&] { return verdict("HDR EOTF")->text() == "PASS"; }, 10000));
        table->window()->grab().save(QString::fromLocal8Bit(shot));
    }

    // Closed: the poll is the view's own again.
    table->window()->close();
    EXPECT_TRUE(wait_until([&] { return w.state().poll_list.size() == 38u; }, 2000));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MonitorLive, VideoTimingView) {
    live(view_video_timing);
    EXPECT_TRUE(find<QFrame>("fra_monitor_1")->isVisible());
    expect_cycle("lab_item_val_13", "Progressive");
    // 148.5 MHz / 2200 = 67500 Hz; / 1125 lines = 60 Hz.
    expect_cells("lab_item_val",
                 {"1920x1080p60", "148500", "148500", "1.485", "67500", "2200", "1920",
                  "148",          "44",     "88",     "pos",   "0",     "0",    "Progressive",
                  "60.00",        "1125",   "1080",   "36",    "5",     "4",    "pos"});

    // An interlaced source: 74.25 MHz over 2200 x 1125, doubled.
    model.state().source_items["pixel_clock"] = "74250";
    model.state().source_items["scan"] = "i";
    EXPECT_TRUE(wait_text("lab_item_val_13", "Interlace"));
    EXPECT_EQ(text("lab_item_val_14"), "60.00");
    EXPECT_EQ(text("lab_item_val_4"), "33750");

    // 4K: six-digit clocks and frequencies beside their units.
    ASSERT_EQ(sim::run_control(model, "scenario 2160p60-hdr10"), "ok");
    EXPECT_TRUE(wait_text("lab_item_val_13", "Progressive"));
    EXPECT_TRUE(wait_text("lab_item_val_4", "135000"));
    EXPECT_EQ(text("lab_item_val_1"), "594000");
    screenshot("monitor-video-timing.png");
}

TEST_F(MonitorLive, AudioTimingView) {
    live(view_audio_timing);
    expect_cycle("lab_item_val_a_13", "24");
    expect_cells("lab_item_val_a", {"On", "Off", "on", "6144", "148500", "On", "Locked", "Normal",
                                    "0", "2", "Consumer", "LPCM", "48", "24"});

    // High-bit-rate audio takes over: the sample-packet items read "None".
    model.state().source_items["hbr"] = "on";
    model.state().source_items["asp"] = "off";
    EXPECT_TRUE(wait_text("lab_item_val_a_1", "On"));
    EXPECT_TRUE(wait_text("lab_item_val_a_13", "None"));
    EXPECT_EQ(text("lab_item_val_a_5"), "Off");
    EXPECT_EQ(text("lab_item_val_a_6"), "None");
    EXPECT_EQ(text("lab_item_val_a_11"), "None");
    EXPECT_TRUE(wait_text("lab_item_val_a_12", "None"));
    screenshot("monitor-audio-timing.png");
}

TEST_F(MonitorLive, PacketView) {
    live(view_packet);
    expect_cycle("lab_item_val_p_22", "DRMI Off");
    expect_cells("lab_item_val_p",
                 {// GCP: SB0 0x10 clear, SB1 0x04 8 bits.
                  "Clear", "8",
                  // AVI 10 A8 00 10 00: RGB, ITU709, no IT content, no extended
                  // colorimetry, VIC 16, no repetition.
                  "RGB", "ITU709", "No", "None", " 16 1920x1080p 59/60 16:9", "x1",
                  // AIF 01 00 ...: two channels, the rest from the stream.
                  "Refer to stream header", "2", "Refer to stream header", "Refer to stream header",
                  "Refer to Coding Type", " -   -   -  -  -  -  FR FL", "Permitted/No info",
                  // SPD: vendor, product, source device 1.
                  "SIMSRC", "SIM PLAYER", "Digital STB",
                  // No VSI, no DRM.
                  "VSI Off", "", "", "", "DRMI Off", "", "", ""});

    // An HDR10 source: DRM with ST 2084, 1000 and 400 cd/m2.
    std::string drm = "87 01 1A 00 02 00";
    for (int i = 6; i < 26; ++i) drm += " 00";
    drm += " E8 03 90 01";
    model.state().source_items["drmi"] = drm;
    EXPECT_TRUE(wait_text("lab_item_val_p_22", "2:SMPTE ST 2084[2]"));
    EXPECT_EQ(text("lab_item_val_p_23"), "Static Metadata Type 1");
    EXPECT_EQ(text("lab_item_val_p_24"), "1000");
    EXPECT_EQ(text("lab_item_val_p_25"), "400");
}

TEST_F(MonitorLive, HdcpScdcViewInAnalyserMode) {
    live(view_hdcp_scdc);
    EXPECT_EQ(text("lab_title_hdcp_scdc"), "Source HDCP && SCDC");
    EXPECT_EQ(text("lab_item_h_2"), "T27 Rx HDCP Port");
    expect_cycle("lab_item_val_h_9", "off");
    expect_cells("lab_item_val_h", {"off", "none", "v1.4+v2.2", "5A 3C 96 E1 0F", "none", "0",
                                    "off", "on", "1", "off"});
    EXPECT_EQ(colour("lab_item_val_h_0"), 0u);
}

class MonitorPattern : public MonitorLive {
  protected:
    void SetUp() override {
        MonitorLive::SetUp();
        model.state().task_mode = "pattern";
    }
};

TEST_F(MonitorPattern, SystemViewShowsTheGenerator) {
    MainWindow& w = live(view_system);
    ASSERT_EQ(w.unit().task_mode, task_pattern);
    EXPECT_EQ(w.state().poll_list.size(), 20u);
    expect_cycle("lab_sink_rx_scdcx", "on");
    EXPECT_EQ(text("lab_v4_reso_outx"), "1920x1080p60");
    // "$pattern?" answers 1: the first entry of the linked family's pattern list.
    ASSERT_GE(w.state().catalogue.pattern_count(), 1);
    EXPECT_EQ(text("lab_v4_patternx"), w.state().catalogue.pattern_name(1));
    EXPECT_EQ(text("lab_v4_tx_cscx"), "rgb");
    EXPECT_EQ(text("lab_v4_tx_dcx"), "8");
    EXPECT_EQ(text("lab_v4_out_audiox"), "Internal");
    EXPECT_EQ(text("lab_v4_out_audio_chx"), "2");
    EXPECT_EQ(text("lab_v4_out_hdrx"), "off");
    EXPECT_EQ(text("lab_v4_tx_hdcpx"), "Off");
    EXPECT_EQ(text("lab_v4_outputx"), "on");
    EXPECT_EQ(text("lab_sink_rx_hdcpx"), "v2.2");
    // The source side is not polled in this mode.
    EXPECT_EQ(text("lab_source_resox"), "");
    EXPECT_EQ(server.wire().find("$source_detect?"), std::string::npos);

    // Muted audio: "Mute" stays, the channel count empties.
    model.state().settings["audio_mute"] = "on";
    EXPECT_TRUE(wait_text("lab_v4_out_audiox", "Mute"));
    EXPECT_TRUE(wait_text("lab_v4_out_audio_chx", ""));
    wait_until([] { return false; }, 1500);  // a further cycle
    EXPECT_EQ(text("lab_v4_out_audiox"), "Mute");
}

TEST_F(MonitorPattern, HdcpScdcViewShowsTheOutputAndTheSink) {
    model.state().settings["hdcp_out_sw"] = "on";
    model.state().settings["hdcp_out_ver"] = "v2.2";
    live(view_hdcp_scdc);
    EXPECT_EQ(text("lab_title_hdcp_scdc"), "Sink HDCP && SCDC");
    EXPECT_EQ(text("lab_item_h_0"), "T27 Tx HDCP");
    EXPECT_EQ(text("lab_item_h_2"), "Sink Rx HDCP Port");
    expect_cycle("lab_item_val_h_9", "off");
    // The sink authenticated ("v2.2_on"): the version with "  Pass", black.
    expect_cells("lab_item_val_h", {"v2.2  Pass", "A5 3C 69 1E F0", "v2.2", "5A 3C 96 E1 0F",
                                    "3F 1A 7C 00 21", "1", "off", "on", "1", "off"});
    EXPECT_EQ(colour("lab_item_val_h_0"), 0u);

    // Without a sink the output keeps trying: "  Fail" in red.
    ASSERT_TRUE(model.attach_sink("none"));
    EXPECT_TRUE(wait_text("lab_item_val_h_0", "v2.2  Fail"));
    EXPECT_EQ(colour("lab_item_val_h_0"), 0x3030FFu);
}

TEST_F(MonitorPattern, ViewsWithoutAPatternListSendNothing) {
    MainWindow& w = live(view_video_timing);
    EXPECT_TRUE(w.state().poll_list.empty());
    const std::size_t before = server.wire().size();
    wait_until([] { return false; }, 600);
    EXPECT_EQ(server.wire().size(), before);
    EXPECT_EQ(text("lab_item_val_0"), "");
    // Back to System: the generator list runs again.
    find<QRadioButton>("opt_mon_type_0")->click();
    EXPECT_TRUE(wait_text("lab_v4_outputx", "on"));
}

}  // namespace
}  // namespace t27::testing
