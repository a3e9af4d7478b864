// The Control Panel tab against the unit model.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <map>

#include "mainwin/qt_dialogs.h"
#include "sim/faults.h"
#include "tests/generator/ui/generator_fixture.h"

namespace t27::testing {
namespace {

constexpr uint grey = 12632256, green = 49152, red = 3158271;

class PanelTest : public GeneratorTest {
  protected:
    QPushButton* b(int i) { return button("cmd_panel", i); }
    uint c(int i) { return colour_of(b(i)); }
};

TEST_F(PanelTest, LayoutCaptionsAndFirstColours) {
    open_with_pages();
    EXPECT_EQ(b(0)->text(), "Factory Reset");
    EXPECT_EQ(b(1)->text(), "Reboot System");
    EXPECT_EQ(b(4)->text(), "v1.4 + v2.2");
    EXPECT_EQ(b(37)->text(), "BT.2020(2)");
    EXPECT_EQ(b(49)->text(), "Always On");
    EXPECT_EQ(b(60)->text(), "192K");
    for (int i = 0; i <= 60; ++i) {
        ASSERT_TRUE(b(i)) << i;
        EXPECT_EQ(c(i), grey) << i;
    }
    EXPECT_FALSE(b(61));
    EXPECT_TRUE(b(50)->isHidden());
    EXPECT_TRUE(b(51)->isHidden());
    bool avmute_row_hidden = false, hdcp_row = false;
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        if (l->text() == "AVMute ") avmute_row_hidden = l->isHidden();
        if (l->text() == "Rx HDCP Port") hdcp_row = true;
    }
    EXPECT_TRUE(avmute_row_hidden);
    EXPECT_TRUE(hdcp_row);
}

TEST_F(PanelTest, InputHdcpVersionSwitchesOnFirst) {
    linked_window();
    choose_tab(tab_panel);
    const std::size_t m = mark();
    b(4)->click();
    EXPECT_EQ(sent_since(m), "$hdcp_in_sw on\r$hdcp_in_ver v1.4+v2.2\r");
    EXPECT_EQ(c(4), green);
    EXPECT_EQ(c(3), grey);
    EXPECT_EQ(c(2), grey);
    EXPECT_TRUE(panel->flags().hdcp_in_on);
    EXPECT_TRUE(b(4)->isEnabled());
    EXPECT_EQ(model.state().settings["hdcp_in_sw"], "on");
    EXPECT_EQ(model.state().settings["hdcp_in_ver"], "v1.4+v2.2");
}

TEST_F(PanelTest, ReadBackWithInputHdcpOff) {
    model.state().settings["hdcp_in_sw"] = "off";
    model.state().settings["hdcp_in_ver"] = "v1.4";
    linked_window();
    const std::size_t m = mark();
    choose_tab(tab_panel);
    const std::string sent = sent_since(m);
    // Every group in order, each query as the command table holds it.
    const std::string queries =
        "$hdcp_in_sw?\r$hdcp_in_ver?\r$rx_ddc?\r$rx_hotplug?\r$rx_scdc?\r$rx_sense?\r"
        "$audio_source? \r$audio_ch? \r$audio_mute? \r$audio_sr? \r$hdr_sw?\r$hdr_set?\r"
        "$hdr_eotf? \r$hdr_tx_col? \r$hdcp_out_sw?\r$hdcp_out_ver?\r$color_space?\r"
        "$deep_color?\r$tx_5v?\r$tmds_sw?\r$tmds_format?\r";
    ASSERT_GE(sent.size(), queries.size());
    EXPECT_EQ(sent.substr(sent.size() - queries.size()), queries) << sent;
    EXPECT_EQ(c(2), green);
    EXPECT_EQ(c(3), grey);
    EXPECT_EQ(c(4), grey);
    EXPECT_FALSE(panel->flags().hdcp_in_on);
    // A fresh unit's other values.
    EXPECT_EQ(c(9), green);   // DDC on
    EXPECT_EQ(c(57), green);  // hot plug high
    EXPECT_EQ(c(28), green);  // colorimetry 1
    EXPECT_EQ(c(38), green);  // output HDCP off
    EXPECT_EQ(c(54), green);  // HDMI
}

TEST_F(PanelTest, OutputHdcpStillTalkingIsRed) {
    model.state().settings["hdcp_out_sw"] = "on";
    model.state().settings["hdcp_out_ver"] = "v2.2";
    ASSERT_TRUE(model.attach_sink("none"));  // nobody to finish the handshake with
    linked_window();
    choose_tab(tab_panel);
    EXPECT_EQ(panel->flags().hdcp_out_state, 4);
    EXPECT_EQ(c(40), red);
    EXPECT_EQ(c(38), grey);
    EXPECT_EQ(c(39), grey);

    // Choosing v1.4 switches output HDCP on first and takes the switch as on:
    // the version's reply lights it green.
    const std::size_t m = mark();
    b(39)->click();
    EXPECT_EQ(sent_since(m), "$hdcp_out_sw on\r$hdcp_out_ver v1.4\r");
    EXPECT_EQ(panel->flags().hdcp_out_state, 1);
    EXPECT_EQ(c(39), green);
    EXPECT_EQ(c(40), grey);

    // The full read-back shows what the unit says: still talking.
    choose_tab(tab_edid);
    choose_tab(tab_panel);
    EXPECT_EQ(panel->flags().hdcp_out_state, 2);
    EXPECT_EQ(c(39), red);
}

TEST_F(PanelTest, AudioSourceEnablesChannelsAndRates) {
    model.state().task_mode = "pattern";
    model.state().settings["audio_source"] = "hdmi";
    linked_window();
    choose_tab(tab_panel);
    EXPECT_EQ(c(13), green);
    for (int i : {15, 16, 17, 58, 59, 60}) EXPECT_FALSE(b(i)->isEnabled()) << i;

    b(14)->click();
    EXPECT_EQ(c(14), green);
    EXPECT_EQ(c(13), grey);
    for (int i : {15, 16, 17}) EXPECT_FALSE(b(i)->isEnabled()) << i;
    for (int i : {58, 59, 60}) EXPECT_TRUE(b(i)->isEnabled()) << i;

    b(12)->click();
    for (int i : {15, 16, 17, 58, 59, 60}) EXPECT_TRUE(b(i)->isEnabled()) << i;
}

TEST_F(PanelTest, ColorimetryTenAndHotplugToggleFromTheReadBack) {
    model.state().settings["hdr_tx_col"] = "10";
    model.state().settings["rx_hotplug"] = "toggle";
    linked_window();
    choose_tab(tab_panel);
    EXPECT_EQ(c(37), green);
    EXPECT_EQ(b(37)->text(), "BT.2020(2)");
    for (int i = 28; i <= 36; ++i) EXPECT_EQ(c(i), grey) << i;
    EXPECT_EQ(c(57), green);
    EXPECT_EQ(b(57)->text(), "High");
    EXPECT_EQ(c(56), grey);
}

TEST_F(PanelTest, ToggleShowsLowWhileThePulseRuns) {
    linked_window();
    choose_tab(tab_panel);
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 200"), "");
    bool low_during = false, high_during = true;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->link().cmdtx_busy) return;
        low_during = c(56) == green;
        high_during = c(57) == green;
    });
    probe.start(5);
    const std::size_t m = mark();
    b(5)->click();
    probe.stop();
    model.faults().clear();
    EXPECT_EQ(sent_since(m), "$rx_hotplug toggle\r");
    EXPECT_TRUE(low_during);
    EXPECT_FALSE(high_during);
    // The unit answers with the line high again.
    EXPECT_EQ(c(56), grey);
    EXPECT_EQ(c(57), green);
}

TEST_F(PanelTest, HdrPresetRereadsEotfAndColorimetry) {
    model.state().task_mode = "pattern";
    linked_window();
    choose_tab(tab_panel);
    const std::size_t m = mark();
    b(24)->click();
    EXPECT_EQ(sent_since(m), "$hdr_set 3\r$hdr_eotf? \r$hdr_tx_col? \r");
    EXPECT_EQ(c(24), green);
    EXPECT_EQ(c(27), green);
    EXPECT_EQ(c(25), grey);
    EXPECT_EQ(c(37), green);
    EXPECT_EQ(c(28), grey);
}

TEST_F(PanelTest, DviRereadsTheColourFormat) {
    model.state().settings["color_space"] = "y444";
    model.state().settings["deep_color"] = "10";
    linked_window();
    choose_tab(tab_panel);
    ASSERT_EQ(c(42), green);
    const std::size_t m = mark();
    b(55)->click();
    EXPECT_EQ(sent_since(m), "$tmds_format dvi\r$color_space?\r$deep_color?\r$tmds_format?\r");
    EXPECT_EQ(c(55), green);
    EXPECT_EQ(c(41), green);
    EXPECT_EQ(c(42), grey);
    EXPECT_EQ(c(45), green);
    EXPECT_EQ(c(46), grey);
}

TEST_F(PanelTest, FactoryResetAsksFirstAndChangesNoColours) {
    model.state().settings["audio_mute"] = "on";
    linked_window();
    choose_tab(tab_panel);
    std::vector<uint> before;
    for (int i = 0; i <= 60; ++i) before.push_back(c(i));

    std::size_t m = mark();
    b(0)->click();  // the recorded dialogs answer No
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0],
              "Factory Reset returns every setting of the unit to its first-start value. "
              "Continue?");
    EXPECT_TRUE(dialogs.defaults_no[0]);  // Enter or Escape must not reset the unit
    EXPECT_EQ(sent_since(m), "");
    EXPECT_EQ(model.state().settings["audio_mute"], "on");

    dialogs.answers.push_back(Answer::Yes);
    b(0)->click();
    EXPECT_EQ(sent_since(m), "$factory\r");
    EXPECT_EQ(model.state().settings["audio_mute"], "off");
    std::vector<uint> after;
    for (int i = 0; i <= 60; ++i) after.push_back(c(i));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(b(0)->isEnabled());

    // Reboot is sent at once: nothing is lost by it.
    m = mark();
    b(1)->click();
    EXPECT_EQ(sent_since(m), "$boot go\r");
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

TEST(PanelQuestion, NoIsTheDefaultAndEscapeAnswersNo) {
    // The real message box: Escape, and Enter on the default button, both say No.
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
        QtDialogs d;
        bool default_no = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            default_no = box->defaultButton() == box->button(QMessageBox::No);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &press);
        });
        EXPECT_EQ(d.question("Reset?", false, true), Answer::No) << key;
        EXPECT_TRUE(default_no);
    }
}

TEST_F(PanelTest, ClickWhileBusyWaitsAsPendingAction) {
    MainWindow& w = linked_window();
    choose_tab(tab_panel);
    std::size_t m = mark();
    w.link().cmdtx_busy = true;
    b(21)->click();
    w.link().cmdtx_busy = false;
    EXPECT_EQ(w.state().pending_action, pending_panel_button);
    EXPECT_EQ(panel->pending_panel_index(), 21);
    EXPECT_EQ(sent_since(m), "");
    w.run_pending_action(pending_panel_button);
    EXPECT_EQ(sent_since(m), "$hdr_sw on\r");
    EXPECT_EQ(c(21), green);
}

TEST_F(PanelTest, ReadBackGoesOnPastErrorsAndStopsAtSilence) {
    model.state().settings["hdcp_in_sw"] = "off";
    linked_window();
    choose_tab(tab_panel);
    ASSERT_EQ(c(2), green);
    ASSERT_EQ(c(9), green);

    // An error reply to the first query paints its group from that reply
    // (nothing lit) and the read-back carries on to the new DDC value.
    model.state().settings["rx_ddc"] = "off";
    ASSERT_EQ(sim::arm_fault(model.faults(), "err"), "");
    panel->panel_read_all();
    EXPECT_EQ(c(2), grey);
    EXPECT_EQ(c(8), green);
    EXPECT_EQ(c(9), grey);

    // Silence ends it: the first query is tried twice, nothing after it.
    model.state().settings["rx_ddc"] = "on";
    model.faults().drop = 2;
    const std::size_t m = mark();
    panel->panel_read_all();
    model.faults().clear();
    EXPECT_EQ(sent_since(m), "$hdcp_in_sw?\r$hdcp_in_sw?\r");
    EXPECT_EQ(c(8), green);  // later groups keep their colours
    EXPECT_EQ(find<QLabel>("lab_link")->text(), "No response");
}

TEST_F(PanelTest, VisibilityFollowsTaskModeAndFamily) {
    model.state().identity.model = "T28";
    MainWindow& w = linked_window();
    choose_tab(tab_panel);
    auto shown = [&](int i) { return !b(i)->isHidden(); };
    for (int i : {2, 7, 11, 56, 57, 0, 1, 18, 19, 52, 53}) EXPECT_TRUE(shown(i)) << i;
    for (int i : {12, 15, 20, 30, 40, 41, 47, 48, 54, 58}) EXPECT_FALSE(shown(i)) << i;

    w.cmd_task_mode_set("pattern");
    for (int i : {15, 20, 30, 40, 41, 42, 48, 54, 55, 58}) EXPECT_TRUE(shown(i)) << i;
    for (int i : {2, 11, 56, 12, 14, 22, 24, 43, 47}) EXPECT_FALSE(shown(i)) << i;
    // A row with every button hidden hides its caption as well.
    std::map<QString, bool> row_hidden;
    for (QLabel* l : panel->findChildren<QLabel*>()) row_hidden[l->text()] = l->isHidden();
    EXPECT_TRUE(row_hidden.at("Rx Sense"));
    EXPECT_TRUE(row_hidden.at("HDR Setting"));
    EXPECT_TRUE(row_hidden.at("Deep Color"));
    EXPECT_FALSE(row_hidden.at("HDR EOTF"));
}

}  // namespace
}  // namespace t27::testing
