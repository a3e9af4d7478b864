// REPORT, SAVE and EXIT on the Monitor tab against the unit model over
// loopback TCP.
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include "sim/faults.h"
#include "tests/analyser/ui/monitor_fixture.h"

namespace t27::testing {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", start)) {
        out.push_back(text.substr(start, p - start));
        start = p + 2;
    }
    out.push_back(text.substr(start));
    return out;
}

class MonitorReport : public MonitorTest {
  protected:
    MainWindow& on_monitor_tab() {
        MainWindow& w = linked_window();
        click_tab(tab_monitor);
        return w;
    }
    void tick(int section) {
        find<QCheckBox>(QStringLiteral("chk_mon_report_%1").arg(section).toLatin1().constData())
            ->setChecked(true);
    }
};

TEST_F(MonitorReport, SystemSectionLineByLine) {
    MainWindow& w = on_monitor_tab();
    tick(view_system);
    find<QPushButton>("cmd_monitor_report")->click();

    ASSERT_FALSE(tab->report_aborted());
    const std::vector<std::string> l = lines_of(tab->report_text());
    // The model's EDID facts for the unit's input and the attached sink.
    const std::string rx_manuf = model_value("$edid_manuf? rx");
    const std::vector<std::string> expected = {
        "Model: T27 , FW: 2.18.07 , AP: 2.18T",
        "Analyzer Mode",
        "",
        "========== Monitor System",
        "Source +5V   = on",
        "Source Clock = on",
        "Source Sync  = on",
        "Source Resolution  = 1920x1080p60",
        "Source TMDS Format = HDMI",
        "Source Color Space = RGB",
        "Source AVMute = Clear",
        "Source Color Depth = 8",
        "Source Tx HDCP = off",
        "Source Audio = LPCM",
        "Source Packets = GCP AVI AIF ",
        "T27 Rx Hotplug = on",
        "T27 Rx Sense = on",
        "T27 Tx Color Space = rgb",
        "T27 Tx Deep Color = 8 Bits",
        "T27 Rx EDID Manufacturer = " + rx_manuf,
        "T27 Rx EDID Model = " + model_value("$edid_model? rx"),
        "T27 Rx EDID Native = " + model_value("$edid_native? rx"),
        "T27 Rx EDID Type = " + model_value("$edid_type? rx"),
        "T27 Rx HDCP Port = v1.4+v2.2",
        "T27 Tx HDCP Out = off",
        "T27 Out Resolution = 1920x1080p60",
        "T27 Out TMDS Format = HDMI",
        "T27 Output = on",
        "T27 Rx SCDC Port = on",
        "Sink Rx Hotplug = on",
        "Sink Rx Sense = on",
        "Sink Rx EDID Manufacturer = " + model_value("$edid_manuf? sink_h"),
        "Sink Rx EDID Model = " + model_value("$edid_model? sink_h"),
        "Sink Rx EDID Native = " + model_value("$edid_native? sink_h"),
        "Sink Rx EDID Type = " + model_value("$edid_type? sink_h"),
        "Sink Rx HDCP Port = v2.2",
        "Sink Rx SCDC Port = on",
        "",
    };
    ASSERT_EQ(l.size(), expected.size() + 1) << tab->report_text();
    EXPECT_EQ(l[0].substr(0, 15), "Monitor Report ");
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(l[i + 1], expected[i]) << i + 1;
    EXPECT_FALSE(rx_manuf.empty());

    // The report screen: box, SAVE and EXIT, no view, no poll.
    auto* box = find<QPlainTextEdit>("txt_monitor_report");
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->toPlainText().contains("Source Resolution  = 1920x1080p60\nSource TMDS"));
    EXPECT_TRUE(find<QPushButton>("cmd_monitor_save")->isVisible());
    EXPECT_TRUE(find<QPushButton>("cmd_monitor_exit")->isVisible());
    EXPECT_TRUE(find<QPushButton>("cmd_monitor_report")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("fra_mon_type")->isEnabled());
    EXPECT_FALSE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_FALSE(find<QLabel>("lab_report_progress")->isVisible());
    wait_until([] { return false; }, 200);
    EXPECT_FALSE(w.tim_monitor().isActive());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MonitorReport, SavedFileHoldsTheReportWhole) {
    on_monitor_tab();
    tick(view_video_timing);
    tick(view_packet);
    find<QPushButton>("cmd_monitor_report")->click();
    ASSERT_FALSE(tab->report_text().empty());
    const std::string text = tab->report_text();
    // Video Timing before Packet, with the frequencies of the 1080p60 source.
    const std::size_t video = text.find("\r\n========== Monitor Video Timing\r\n");
    const std::size_t packet = text.find("\r\n========== Monitor Packet\r\n");
    ASSERT_NE(video, std::string::npos);
    ASSERT_NE(packet, std::string::npos);
    EXPECT_LT(video, packet);
    EXPECT_NE(text.find("\r\nSource H Frequency = 67500 Hz\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nSource V Frequency =60.00 Hz\r\n"), std::string::npos);
    // The SPD of 29 bytes as blocks of ten groups (the model's "SIMSRC" vendor).
    EXPECT_NE(text.find("\r\nSource SPD = \r\n   83 01 19 "), std::string::npos);
    EXPECT_NE(text.find("\r\n   Vendor     = SIMSRC\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nSource VSI = off\r\n\r\n"), std::string::npos);

    dialogs.next_file = (dir.path() + "/bench report").toStdString();
    find<QPushButton>("cmd_monitor_save")->click();
    QFile f(dir.path() + "/bench report.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), text + "\r\n");
    EXPECT_TRUE(dialogs.questions.empty());

    // Saving again over it asks first; No then the same name again, Cancel.
    dialogs.answers = {Answer::Cancel};
    find<QPushButton>("cmd_monitor_save")->click();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0],
              (dir.path() + "/bench report.txt").toStdString() + " exists. Overwrite it ?");
}

TEST_F(MonitorReport, ExitRestartsThePollFromTheFirstCommand) {
    MainWindow& w = on_monitor_tab();
    tick(view_hdcp_scdc);
    find<QPushButton>("cmd_monitor_report")->click();
    ASSERT_TRUE(find<QPlainTextEdit>("txt_monitor_report")->isVisible());
    const std::size_t before = server.wire().size();
    find<QPushButton>("cmd_monitor_exit")->click();
    EXPECT_FALSE(find<QPlainTextEdit>("txt_monitor_report")->isVisible());
    EXPECT_FALSE(find<QPushButton>("cmd_monitor_save")->isVisible());
    EXPECT_TRUE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_TRUE(find<QGroupBox>("fra_mon_type")->isEnabled());
    EXPECT_TRUE(w.tim_monitor().isActive());
    ASSERT_TRUE(wait_until([&] { return server.wire().size() > before + 40; }));
    EXPECT_EQ(server.wire().substr(before, 19), "$source_detect? 5v\r");
}

TEST_F(MonitorReport, ClickDuringAPollRunsAfterItWithProgressShown) {
    MainWindow& w = on_monitor_tab();
    tick(view_system);
    tick(view_audio_timing);
    // Slow replies so the click lands inside a poll transaction, and so the
    // report takes long enough to watch.
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 30"), "");
    bool clicked = false, deferred = false;
    int bar_min = 1001, bar_max = -1;
    std::string seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!clicked && w.link().cmdtx_busy && w.link().quiet_transaction) {
            clicked = true;
            find<QPushButton>("cmd_monitor_report")->click();
            deferred = w.state().pending_action == pending_monitor_report;
        }
        if (tab->report_running()) {
            const int v = find<QProgressBar>("prg_report")->value();
            bar_min = std::min(bar_min, v);
            bar_max = std::max(bar_max, v);
            seen = find<QLabel>("lab_report_progress")->text().toStdString();
        }
    });
    watcher.start(5);
    ASSERT_TRUE(wait_until([&] { return !tab->report_text().empty(); }, 20000));
    watcher.stop();
    model.faults().clear();
    EXPECT_TRUE(deferred);
    EXPECT_EQ(w.state().pending_action, none_pending);
    // The bar moved while the report ran; the label named the position.
    EXPECT_LT(bar_min, bar_max);
    EXPECT_GT(bar_max, 0);
    EXPECT_EQ(seen.substr(0, 25), "Building report: section ");
    EXPECT_NE(seen.find(" of 52"), std::string::npos) << seen;  // 38 + 14 items
    EXPECT_NE(tab->report_text().find("========== Monitor Audio Timing\r\n"
                                      "Source ACR       = on\r\n"),
              std::string::npos);
    // The poll stays stopped behind the report screen.
    wait_until([] { return false; }, 200);
    EXPECT_FALSE(w.tim_monitor().isActive());
}

TEST_F(MonitorReport, FailedReplyAbortsAndShowsNothing) {
    MainWindow& w = on_monitor_tab();
    tick(view_video_timing);
    // Two replies go missing a few items in: both attempts of one request fail.
    QTimer arm;
    bool armed = false;
    QObject::connect(&arm, &QTimer::timeout, [&] {
        if (!armed && tab->report_running() &&
            find<QProgressBar>("prg_report")->value() >= 3 * 1000 / 19) {
            armed = true;
            sim::arm_fault(model.faults(), "drop 2");
        }
    });
    arm.start(5);
    find<QPushButton>("cmd_monitor_report")->click();
    arm.stop();
    ASSERT_TRUE(armed);
    EXPECT_TRUE(tab->report_aborted());
    EXPECT_TRUE(tab->report_text().empty());
    EXPECT_TRUE(find<QPlainTextEdit>("txt_monitor_report")->toPlainText().isEmpty());
    EXPECT_FALSE(find<QPushButton>("cmd_monitor_save")->isVisible());
    EXPECT_TRUE(find<QGroupBox>("fra_mon_type")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("cmd_monitor_report")->isEnabled());
    EXPECT_FALSE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_FALSE(w.tim_monitor().isActive());
    auto* progress = find<QLabel>("lab_report_progress");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->text().left(41), "Report stopped, the unit did not answer: ");
    EXPECT_TRUE(dialogs.messages.empty());
    // Opening the tab again returns to the live view.
    click_tab(tab_monitor);
    EXPECT_TRUE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(w.tim_monitor().isActive());
}

TEST_F(MonitorReport, PatternModeReportsTheGenerator) {
    model.state().task_mode = "pattern";
    model.state().settings["audio_source"] = "hdmi";
    MainWindow& w = on_monitor_tab();
    tick(view_system);
    tick(view_packet);
    find<QPushButton>("cmd_monitor_report")->click();
    const std::vector<std::string> l = lines_of(tab->report_text());
    ASSERT_GE(l.size(), 4u);
    EXPECT_EQ(l[2], "Pattern Mode");
    const std::string text = tab->report_text();
    EXPECT_NE(text.find("\r\nT27 Out Pattern    = " + w.state().catalogue.pattern_name(1) + "\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\nT27 Out Audio Mute = off\r\nT27 Out Audio Source = HDMI In\r\n"
                        "T27 Out Audio Channel No. = \r\n"),
              std::string::npos)
        << text;
    // Packet has no list in this mode: its title closes the report.
    EXPECT_TRUE(text.ends_with("\r\n\r\n========== Monitor Packet\r\n")) << text;
}

}  // namespace
}  // namespace t27::testing
