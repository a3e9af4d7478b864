// The Output Resolution and Pattern tabs against the unit model.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <functional>

#include "generator/ui/color_calibrate.h"
#include "sim/faults.h"
#include "tests/generator/ui/generator_fixture.h"

namespace t27::testing {
namespace {

QTreeWidgetItem* entry(QTreeWidget* list, int n) { return list->topLevelItem(n - 1); }

void tick(QTreeWidget* list, int n, bool on = true) {
    entry(list, n)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

bool ticked(QTreeWidget* list, int n) { return entry(list, n)->checkState(0) == Qt::Checked; }

QString text_of(QTreeWidget* list, int n) { return entry(list, n)->text(0); }

void double_click(QTreeWidget* list, int n) {
    list->setCurrentItem(entry(list, n));
    emit list->itemDoubleClicked(entry(list, n), 0);
}

// A catalogue of `count` timings "T1".. and `count` patterns "P1"..
QByteArray catalogue_of(int count) {
    QByteArray b = QByteArray::number(count) + "\r\n";
    for (int n = 1; n <= count; ++n) b += "\"T" + QByteArray::number(n) + "\"\r\n";
    b += QByteArray::number(count) + "\r\n";
    for (int n = 1; n <= count; ++n) b += "\"P" + QByteArray::number(n) + "\"\r\n";
    return b;
}

class SelectionTest : public GeneratorTest {};

TEST_F(SelectionTest, StartUpShowsTheCatalogueAndTheOpeningTexts) {
    open_with_pages();
    auto* list = find<QTreeWidget>("lstv_timing");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->headerItem()->text(0), "Timings");
    EXPECT_EQ(find<QTreeWidget>("lstv_pattern")->headerItem()->text(0), "Patterns");
    // The shipped v4 catalogue: 112 timings, the first two in the file.
    EXPECT_EQ(list->topLevelItemCount(), 112);
    EXPECT_EQ(text_of(list, 1), "640x480p 59.94Hz");
    EXPECT_EQ(text_of(list, 2), "640x480p 60Hz");
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), "T?");
    EXPECT_EQ(find<QLabel>("lab_pat_out_now")->text(), "P?");
    EXPECT_EQ(find<QLabel>("lab_reso_out_now_t")->text(), "Now Output Resolution =");
    EXPECT_EQ(find<QLabel>("lab_fav_pattern")->text(), "Favorite Patterns :");
    EXPECT_EQ(find<QLabel>("lab_prompt_p")->text(),
              "Double click left list or click button below to set output pattern. Check left "
              "list to set favorite patterns.");
    EXPECT_EQ(find<QPushButton>("cmd_check_v_none")->text(), "Check None");
    EXPECT_TRUE(find<QLineEdit>("txt_motion_text")->isHidden());
    EXPECT_TRUE(find<QLabel>("lab_motion_text")->isHidden());
    EXPECT_EQ(find<QLineEdit>("txt_motion_text")->text(), "");
    EXPECT_EQ(find<QLineEdit>("txt_motion_text")->maxLength(), 20);
    EXPECT_TRUE(find<QPushButton>("cmd_color_setting")->isHidden());
    EXPECT_TRUE(find<QFrame>("fra_reso_out_v4l")->isHidden());
    ASSERT_TRUE(button("cmd_pattern", 17));
    EXPECT_FALSE(button("cmd_pattern", 18));
}

TEST_F(SelectionTest, FavouritesFromTheFileAreTickedAndCaptioned) {
    // 18 timing slots, then 18 pattern slots: timings 3 and 7, pattern 2.
    QByteArray fav;
    for (int k = 0; k < 36; ++k)
        fav += QByteArray(k == 0 ? "3" : k == 1 ? "7" : k == 18 ? "2" : "254") + "\r\n";
    write_file("v4_timing_pattern_fav.ini", fav);
    open_with_pages();
    auto* list = find<QTreeWidget>("lstv_timing");
    EXPECT_TRUE(ticked(list, 3));
    EXPECT_TRUE(ticked(list, 7));
    EXPECT_FALSE(ticked(list, 1));
    EXPECT_EQ(button("cmd_timing", 0)->text(), text_of(list, 3));
    EXPECT_EQ(button("cmd_timing", 1)->text(), text_of(list, 7));
    EXPECT_EQ(button("cmd_timing", 2)->text(), "");
    EXPECT_EQ(button("cmd_pattern", 0)->text(), text_of(find<QTreeWidget>("lstv_pattern"), 2));
}

TEST_F(SelectionTest, TickingKeepsSlotsInListOrder) {
    MainWindow& w = open_with_pages();
    auto* list = find<QTreeWidget>("lstv_timing");
    tick(list, 30);
    tick(list, 5);
    tick(list, 12);
    EXPECT_EQ(button("cmd_timing", 0)->text(), text_of(list, 5));
    EXPECT_EQ(button("cmd_timing", 1)->text(), text_of(list, 12));
    EXPECT_EQ(button("cmd_timing", 2)->text(), text_of(list, 30));
    EXPECT_EQ(button("cmd_timing", 3)->text(), "");
    const FavouriteSlots& s = w.state().favourites.fav_timing;
    EXPECT_EQ(s[0], 5);
    EXPECT_EQ(s[1], 12);
    EXPECT_EQ(s[2], 30);
    EXPECT_EQ(s[3], 254);

    tick(list, 12, false);
    EXPECT_EQ(button("cmd_timing", 1)->text(), text_of(list, 30));
    EXPECT_EQ(button("cmd_timing", 2)->text(), "");

    find<QPushButton>("cmd_check_v_none")->click();
    EXPECT_FALSE(ticked(list, 5));
    EXPECT_FALSE(ticked(list, 30));
    EXPECT_EQ(button("cmd_timing", 0)->text(), "");
    for (int k = 0; k < 18; ++k) EXPECT_EQ(s[static_cast<std::size_t>(k)], 254) << k;
}

TEST_F(SelectionTest, NineteenthFavouriteIsUndoneAndTheButtonsStay) {
    MainWindow& w = open_with_pages();
    auto* list = find<QTreeWidget>("lstv_pattern");
    for (int n = 1; n <= 18; ++n) tick(list, n * 2);
    QStringList before;
    for (int k = 0; k < 18; ++k) before << button("cmd_pattern", k)->text();
    EXPECT_EQ(before[17], text_of(list, 36));

    tick(list, 3);
    EXPECT_FALSE(ticked(list, 3));
    QStringList after;
    for (int k = 0; k < 18; ++k) after << button("cmd_pattern", k)->text();
    EXPECT_EQ(after, before);
    EXPECT_EQ(w.state().favourites.fav_pattern[0], 2);
    EXPECT_EQ(w.state().favourites.fav_pattern[17], 36);

    // Unticking one frees the last slot; the 19th then fits.
    tick(list, 10, false);
    EXPECT_EQ(button("cmd_pattern", 17)->text(), "");
    tick(list, 3);
    EXPECT_TRUE(ticked(list, 3));
    EXPECT_EQ(button("cmd_pattern", 1)->text(), text_of(list, 3));
}

TEST_F(SelectionTest, DoubleClickAndFavouriteOutputTheTiming) {
    MainWindow& w = linked_window();
    choose_tab(tab_timing);
    auto* list = find<QTreeWidget>("lstv_timing");
    tick(list, 5);
    tick(list, 9);

    std::size_t m = mark();
    double_click(list, 9);
    EXPECT_EQ(sent_since(m), "$timing 9\r");
    EXPECT_EQ(model.state().settings["timing"], "9");
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), text_of(list, 9));
    EXPECT_EQ(colour_of(button("cmd_timing", 1)), 49152u);
    EXPECT_EQ(colour_of(button("cmd_timing", 0)), 14737632u);
    EXPECT_TRUE(list->isEnabled());

    m = mark();
    button("cmd_timing", 0)->click();
    EXPECT_EQ(sent_since(m), "$timing 5\r");
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), text_of(list, 5));
    EXPECT_EQ(list->currentItem(), entry(list, 5));
    EXPECT_EQ(colour_of(button("cmd_timing", 0)), 49152u);
    EXPECT_EQ(colour_of(button("cmd_timing", 1)), 14737632u);
    EXPECT_TRUE(button("cmd_timing", 0)->isEnabled());

    // An empty favourite sends nothing.
    m = mark();
    button("cmd_timing", 2)->click();
    wait_until([] { return false; }, 100);
    EXPECT_EQ(sent_since(m), "");
    EXPECT_TRUE(dialogs.messages.empty());
    (void)w;
}

TEST_F(SelectionTest, RefusedOutputLeavesLabelAndColours) {
    linked_window();
    choose_tab(tab_timing);
    auto* list = find<QTreeWidget>("lstv_timing");
    double_click(list, 3);
    ASSERT_EQ(find<QLabel>("lab_reso_out_now")->text(), text_of(list, 3));
    ASSERT_EQ(sim::arm_fault(model.faults(), "err"), "");
    double_click(list, 4);
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), text_of(list, 3));
    EXPECT_TRUE(list->isEnabled());
}

TEST_F(SelectionTest, TimingEightyEightOnlyInAnalyserMode) {
    model.state().task_mode = "pattern";
    MainWindow& w = linked_window();
    choose_tab(tab_timing);
    auto* list = find<QTreeWidget>("lstv_timing");
    tick(list, 88);
    std::size_t m = mark();
    double_click(list, 88);
    button("cmd_timing", 0)->click();
    wait_until([] { return false; }, 100);
    EXPECT_EQ(sent_since(m), "");

    w.cmd_task_mode_set("analyser");
    ASSERT_EQ(w.unit().task_mode, task_analyser);
    m = mark();
    double_click(list, 88);
    EXPECT_EQ(sent_since(m), "$timing 88\r");
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), text_of(list, 88));
}

TEST_F(SelectionTest, ReadBackOutOfRangeShowsEntryOne) {
    write_file("v4_timing_pattern.ini", catalogue_of(120));
    write_file("v4_timing_pattern_fav.ini", "1\r\n");
    model.state().settings["timing"] = "250";
    linked_window();
    std::size_t m = mark();
    choose_tab(tab_timing);
    EXPECT_NE(sent_since(m).find("$timing? \r"), std::string::npos) << sent_since(m);
    auto* list = find<QTreeWidget>("lstv_timing");
    ASSERT_EQ(list->topLevelItemCount(), 120);
    EXPECT_EQ(list->currentItem(), entry(list, 1));
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), "T1");
    EXPECT_EQ(colour_of(button("cmd_timing", 0)), 49152u);

    // Back on the tab with a number the list has: that entry.
    model.state().settings["timing"] = "57";
    choose_tab(tab_edid);
    choose_tab(tab_timing);
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), "T57");
    EXPECT_EQ(colour_of(button("cmd_timing", 0)), 14737632u);
}

// Runs `start`, a request the unit takes 300 ms to answer, and `click` once
// from inside its wait, as a user's click arrives.
void click_while_busy(MainWindow& w, sim::UnitModel& model, const std::function<void()>& start,
                      const std::function<void()>& click) {
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 300"), "");
    bool clicked = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (clicked || !w.link().cmdtx_busy) return;
        clicked = true;
        click();
    });
    clicker.start(5);
    start();
    clicker.stop();
    model.faults().clear();
    ASSERT_TRUE(clicked);
}

TEST_F(SelectionTest, ChoicesMadeWhileARequestWaitsAreSentAfterIt) {
    model.state().task_mode = "pattern";
    MainWindow& w = linked_window();
    choose_tab(tab_timing);
    auto* timings = find<QTreeWidget>("lstv_timing");
    std::size_t m = mark();
    click_while_busy(
        w, model, [&] { timing->lstv_timing_out_get(); }, [&] { double_click(timings, 5); });
    ASSERT_TRUE(wait_until([&] { return sent_since(m).find("$timing 5\r") != std::string::npos; }));
    EXPECT_EQ(sent_since(m), "$timing? \r$timing 5\r");
    EXPECT_TRUE(wait_until(
        [&] { return find<QLabel>("lab_reso_out_now")->text() == text_of(timings, 5); }));
    EXPECT_EQ(model.state().settings["timing"], "5");

    choose_tab(tab_pattern);
    auto* patterns = find<QTreeWidget>("lstv_pattern");
    tick(patterns, 7);
    m = mark();
    click_while_busy(
        w, model, [&] { pattern->lstv_pattern_out_get(); },
        [&] { button("cmd_pattern", 0)->click(); });
    ASSERT_TRUE(wait_until([&] { return w.state().current_pattern == 7; }));
    EXPECT_EQ(sent_since(m).substr(0, 11), "$pattern? \r");
    EXPECT_NE(sent_since(m).find("$pattern 7\r"), std::string::npos) << sent_since(m);
    EXPECT_EQ(find<QLabel>("lab_pat_out_now")->text(), text_of(patterns, 7));
    EXPECT_EQ(colour_of(button("cmd_pattern", 0)), 49152u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SelectionTest, DownScalingChoiceIsSentLateOrTakenBack) {
    model.state().identity.model = "T28";
    model.state().settings["4k_to_1080p"] = "off";
    MainWindow& w = linked_window();
    choose_tab(tab_timing);
    auto* off = find<QRadioButton>("opt_4k_to_1080p_0");
    auto* rgb = find<QRadioButton>("opt_4k_to_1080p_1");
    auto* yuv = find<QRadioButton>("opt_4k_to_1080p_2");
    ASSERT_TRUE(off->isChecked());

    // Chosen while the read-back waits: sent once the line is free.
    click_while_busy(
        w, model, [&] { timing->downscale_read(); }, [&] { rgb->click(); });
    ASSERT_TRUE(wait_until([&] { return model.state().settings["4k_to_1080p"] == "on_rgb"; }));
    EXPECT_TRUE(rgb->isChecked());

    // Not accepted: the buttons show what the unit reports it has, not the
    // choice that may never have reached it.
    ASSERT_EQ(sim::arm_fault(model.faults(), "err"), "");
    const std::size_t m = mark();
    yuv->click();
    EXPECT_NE(sent_since(m).find("$4k_to_1080p? \r"), std::string::npos) << sent_since(m);
    const std::string unit = model.state().settings["4k_to_1080p"];
    EXPECT_EQ(off->isChecked(), unit == "off");
    EXPECT_EQ(rgb->isChecked(), unit == "on_rgb");
    EXPECT_EQ(yuv->isChecked(), unit == "on_yuv");
}

TEST_F(SelectionTest, ReadBacksDeferWhileBusy) {
    MainWindow& w = linked_window();
    choose_tab(tab_timing);
    std::size_t m = mark();
    w.link().cmdtx_busy = true;
    timing->lstv_timing_out_get();
    EXPECT_EQ(w.state().pending_action, pending_read_timing);
    w.state().current_tab = tab_pattern;
    pattern->lstv_pattern_out_get();
    EXPECT_EQ(w.state().pending_action, pending_read_pattern);
    w.link().cmdtx_busy = false;
    EXPECT_EQ(sent_since(m), "");

    // Not on its tab the read-back does nothing at all.
    w.state().current_tab = tab_panel;
    timing->lstv_timing_out_get();
    pattern->lstv_pattern_out_get();
    EXPECT_EQ(w.state().pending_action, pending_read_pattern);
    EXPECT_EQ(sent_since(m), "");
}

TEST_F(SelectionTest, PatternOutputAndMotionText) {
    model.state().task_mode = "pattern";
    MainWindow& w = linked_window();
    choose_tab(tab_pattern);
    auto* list = find<QTreeWidget>("lstv_pattern");
    auto* txt = find<QLineEdit>("txt_motion_text");

    list->setCurrentItem(entry(list, 41));
    EXPECT_FALSE(txt->isHidden());
    EXPECT_FALSE(find<QLabel>("lab_motion_text")->isHidden());
    list->setCurrentItem(entry(list, 40));
    EXPECT_TRUE(txt->isHidden());

    std::size_t m = mark();
    double_click(list, 42);
    EXPECT_EQ(sent_since(m), "$pattern 42\r");
    EXPECT_EQ(w.state().current_pattern, 42);
    EXPECT_EQ(find<QLabel>("lab_pat_out_now")->text(), text_of(list, 42));
    EXPECT_FALSE(txt->isHidden());

    // Typing sends nothing; Enter sends the text without its outer blanks.
    txt->setFocus();
    m = mark();
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(txt, &a);
    txt->setText(QStringLiteral("  HELLO T27  "));
    wait_until([] { return false; }, 50);
    EXPECT_EQ(sent_since(m), "");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(txt, &enter);
    EXPECT_EQ(sent_since(m), "$motion_text HELLO T27\r");
    EXPECT_EQ(model.state().settings["motion_text"], "HELLO T27");

    // While a transaction runs, Enter waits as pending action 9, and is sent
    // once the line is free.
    m = mark();
    w.link().cmdtx_busy = true;
    QCoreApplication::sendEvent(txt, &enter);
    EXPECT_EQ(w.state().pending_action, pending_motion_text);
    wait_until([] { return false; }, 100);
    EXPECT_EQ(sent_since(m), "");
    w.link().cmdtx_busy = false;
    ASSERT_TRUE(wait_until([&] { return w.state().pending_action == none_pending; }));
    EXPECT_EQ(sent_since(m), "$motion_text HELLO T27\r");
}

TEST_F(SelectionTest, PatternReadBackFetchesTheMotionText) {
    model.state().settings["pattern"] = "41";
    model.state().settings["motion_text"] = "SCROLLING";
    MainWindow& w = linked_window();
    const std::size_t m = mark();
    choose_tab(tab_pattern);
    const std::string sent = sent_since(m);
    EXPECT_NE(sent.find("$pattern? \r$motion_text?\r"), std::string::npos) << sent;
    EXPECT_EQ(find<QLineEdit>("txt_motion_text")->text(), "SCROLLING");
    EXPECT_EQ(w.state().current_pattern, 41);
    EXPECT_EQ(find<QTreeWidget>("lstv_pattern")->currentItem(),
              entry(find<QTreeWidget>("lstv_pattern"), 41));
    // The read-back leaves the field's visibility to the next selection.
    EXPECT_TRUE(find<QLineEdit>("txt_motion_text")->isHidden());
}

TEST_F(SelectionTest, ColourSettingOnTheT28Variant) {
    model.state().identity.model = "T28";
    model.state().task_mode = "pattern";
    MainWindow& w = linked_window();
    ASSERT_EQ(w.state().catalogue_file, "v4l_t_old_timing_pattern.ini");
    choose_tab(tab_pattern);
    auto* list = find<QTreeWidget>("lstv_pattern");
    auto* colour = find<QPushButton>("cmd_color_setting");

    double_click(list, 7);
    ASSERT_EQ(w.state().current_pattern, 7);
    list->setCurrentItem(entry(list, 12));
    EXPECT_FALSE(colour->isHidden());
    EXPECT_FALSE(colour->isEnabled());

    double_click(list, 12);
    EXPECT_EQ(w.state().current_pattern, 12);
    EXPECT_FALSE(colour->isHidden());
    EXPECT_TRUE(colour->isEnabled());

    // A read-back that finds pattern 12 being output (after some other
    // pattern was selected) leaves the button usable too.
    list->setCurrentItem(entry(list, 7));
    model.state().settings["pattern"] = "12";
    choose_tab(tab_edid);
    choose_tab(tab_pattern);
    EXPECT_FALSE(colour->isHidden());
    EXPECT_TRUE(colour->isEnabled());

    // No motion text on this variant, and other patterns hide the button.
    list->setCurrentItem(entry(list, 41));
    EXPECT_TRUE(colour->isHidden());
    EXPECT_TRUE(find<QLineEdit>("txt_motion_text")->isHidden());

    // The button opens the colour window over the main window.
    list->setCurrentItem(entry(list, 12));
    colour->click();
    auto* cal = w.findChild<ColorCalibrate*>("frm_color_calibrate");
    ASSERT_TRUE(cal);
    EXPECT_TRUE(cal->isVisible());
    EXPECT_EQ(cal->windowTitle(), "Color Setting");
    EXPECT_EQ(cal->windowModality(), Qt::ApplicationModal);
    cal->close();
    EXPECT_TRUE(wait_until([&] { return !w.findChild<ColorCalibrate*>("frm_color_calibrate"); }));
}

TEST_F(SelectionTest, DownScalingReplacesTheTimingReadBackOnV4lAnalysers) {
    model.state().identity.model = "T28";
    model.state().settings["4k_to_1080p"] = "on_yuv";
    MainWindow& w = linked_window();
    ASSERT_EQ(w.unit().task_mode, task_analyser);
    std::size_t m = mark();
    choose_tab(tab_timing);
    const std::string sent = sent_since(m);
    EXPECT_NE(sent.find("$4k_to_1080p? \r"), std::string::npos) << sent;
    EXPECT_EQ(sent.find("$timing? "), std::string::npos) << sent;
    EXPECT_FALSE(find<QFrame>("fra_reso_out_v4l")->isHidden());
    EXPECT_EQ(find<QLabel>("lab_4k_to_1080p")->text(), "4K to 1080P Down Scaling :");
    auto* yuv = find<QRadioButton>("opt_4k_to_1080p_2");
    EXPECT_EQ(yuv->text(), "Enabled , YCbCr Output");
    EXPECT_TRUE(yuv->isChecked());

    m = mark();
    find<QRadioButton>("opt_4k_to_1080p_1")->click();
    EXPECT_EQ(sent_since(m), "$4k_to_1080p on_rgb\r");
    EXPECT_EQ(model.state().settings["4k_to_1080p"], "on_rgb");

    // In pattern mode the timing list is back and the frame goes.
    m = mark();
    w.cmd_task_mode_set("pattern");
    EXPECT_NE(sent_since(m).find("$timing? \r"), std::string::npos) << sent_since(m);
    EXPECT_TRUE(find<QFrame>("fra_reso_out_v4l")->isHidden());
}

}  // namespace
}  // namespace t27::testing
