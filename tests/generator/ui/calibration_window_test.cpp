// The colour calibration window against the unit model.
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include "generator/ui/color_calibrate.h"
#include "sim/faults.h"
#include "tests/generator/ui/generator_fixture.h"

namespace t27::testing {
namespace {

class CalibrationTest : public GeneratorTest {
  protected:
    // A linked T28 showing the calibration pattern, with the window open.
    ColorCalibrate* open_calibration(const std::map<std::string, std::string>& unit_values = {}) {
        model.state().identity.model = "T28";
        model.state().task_mode = "pattern";
        for (const auto& [k, v] : unit_values) model.state().settings[k] = v;
        linked_window();
        choose_tab(tab_pattern);
        start = mark();
        ColorCalibrate* w = ColorCalibrate::show_for(*window);
        EXPECT_FALSE(w->calibrate_loading());
        return w;
    }

    template <typename T>
    T* in_cal(const char* name) {
        auto* cal = window->findChild<ColorCalibrate*>("frm_color_calibrate");
        return cal ? cal->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }

    void press_enter(QLineEdit* t) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(t, &enter);
    }

    std::size_t start = 0;
};

TEST_F(CalibrationTest, LoadReadsTheColourAndItsLevelWithoutSettingIt) {
    ColorCalibrate* w =
        open_calibration({{"color_cal_color", "red"}, {"color_cal_level_red", "77"}});
    EXPECT_EQ(sent_since(start), "$color_cal_color?\r$color_cal_level?\r");
    auto* cbo = in_cal<QComboBox>("cbo_color");
    ASSERT_EQ(cbo->count(), 8);
    EXPECT_EQ(cbo->itemText(0), "White");
    EXPECT_EQ(cbo->itemText(7), "User");
    EXPECT_EQ(cbo->currentText(), "Red");
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "77");
    EXPECT_EQ(in_cal<QScrollBar>("hsr_level")->value(), 77);
    EXPECT_TRUE(in_cal<QLineEdit>("txt_level")->isEnabled());
    EXPECT_FALSE(in_cal<QLineEdit>("txt_red")->isEnabled());
    EXPECT_FALSE(in_cal<QScrollBar>("hsr_blue")->isEnabled());
    EXPECT_EQ(in_cal<QScrollBar>("hsr_red")->maximum(), 255);
    EXPECT_EQ(in_cal<QScrollBar>("hsr_red")->minimum(), 0);

    // Its right and bottom edges line up with the main window's.
    const QRect main = window->geometry();
    EXPECT_EQ(w->x() + w->width(), main.x() + main.width());
    EXPECT_EQ(w->y() + w->height(), main.y() + main.height());
}

TEST_F(CalibrationTest, UserColourReadsRedGreenBlue) {
    open_calibration({{"color_cal_color", "user"},
                      {"color_cal_red", "10"},
                      {"color_cal_green", "20"},
                      {"color_cal_blue", "30"}});
    EXPECT_EQ(sent_since(start),
              "$color_cal_color?\r$color_cal_red?\r$color_cal_green?\r$color_cal_blue?\r");
    EXPECT_EQ(in_cal<QComboBox>("cbo_color")->currentText(), "User");
    EXPECT_FALSE(in_cal<QLineEdit>("txt_level")->isEnabled());
    EXPECT_FALSE(in_cal<QScrollBar>("hsr_level")->isEnabled());
    EXPECT_TRUE(in_cal<QLineEdit>("txt_green")->isEnabled());
    EXPECT_EQ(in_cal<QLineEdit>("txt_red")->text(), "10");
    EXPECT_EQ(in_cal<QScrollBar>("hsr_green")->value(), 20);
    EXPECT_EQ(in_cal<QLineEdit>("txt_blue")->text(), "30");
    EXPECT_EQ(in_cal<QScrollBar>("hsr_blue")->value(), 30);
}

TEST_F(CalibrationTest, UnknownColourChangesNothing) {
    open_calibration({{"color_cal_color", "purple"}});
    EXPECT_EQ(sent_since(start), "$color_cal_color?\r");
    EXPECT_EQ(in_cal<QComboBox>("cbo_color")->currentIndex(), 0);
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "");
    EXPECT_EQ(in_cal<QScrollBar>("hsr_level")->value(), 0);
}

TEST_F(CalibrationTest, TypedValuesSendOnlyWhenValid) {
    open_calibration({{"color_cal_color", "user"}});
    auto* txt = in_cal<QLineEdit>("txt_red");
    auto* bar = in_cal<QScrollBar>("hsr_red");
    std::size_t m = mark();
    for (const char* bad : {"256", "12a", "", "-3"}) {
        txt->setText(QString::fromLatin1(bad));
        press_enter(txt);
        EXPECT_EQ(sent_since(m), "") << bad;
        EXPECT_EQ(txt->selectedText(), QString::fromLatin1(bad));
        EXPECT_EQ(txt->cursorPosition(), 0);
    }
    EXPECT_EQ(bar->value(), 255);

    bar->setValue(3);  // moved away first (a move like any other, and sent)
    txt->setText("255");
    m = mark();
    press_enter(txt);
    EXPECT_EQ(sent_since(m), "$color_cal_red 255\r");
    EXPECT_EQ(bar->value(), 255);
    EXPECT_EQ(txt->selectedText(), "255");
    EXPECT_EQ(model.state().settings["color_cal_red"], "255");

    // Blanks around the digits go; leading zeros are sent as typed.
    m = mark();
    txt->setText(" 007 ");
    press_enter(txt);
    EXPECT_EQ(sent_since(m), "$color_cal_red 007\r");
    EXPECT_EQ(bar->value(), 7);
}

TEST_F(CalibrationTest, DraggingSendsEveryValue) {
    open_calibration({{"color_cal_color", "white"}, {"color_cal_level_white", "100"}});
    auto* bar = in_cal<QScrollBar>("hsr_level");
    ASSERT_EQ(bar->value(), 100);
    const std::size_t m = mark();
    bar->setSliderDown(true);
    bar->setSliderPosition(101);
    bar->setSliderPosition(102);
    bar->setSliderPosition(103);
    bar->setSliderDown(false);
    EXPECT_EQ(sent_since(m), "$color_cal_level 101\r$color_cal_level 102\r$color_cal_level 103\r");
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "103");
    EXPECT_EQ(model.state().settings["color_cal_level_white"], "103");
}

TEST_F(CalibrationTest, ChangesDuringARequestWaitForItAndSendTheNewest) {
    open_calibration({{"color_cal_color", "white"}, {"color_cal_level_white", "100"}});
    auto* bar = in_cal<QScrollBar>("hsr_level");
    ASSERT_EQ(sim::arm_fault(model.faults(), "delay 150"), "");
    int moved = 0;
    QTimer mover;
    // The user keeps dragging while the first request waits for its reply.
    QObject::connect(&mover, &QTimer::timeout, [&] {
        if (moved < 2 && window->link().cmdtx_busy) bar->setValue(102 + moved++);
    });
    mover.start(10);
    const std::size_t m = mark();
    bar->setValue(101);
    ASSERT_TRUE(wait_until([&] { return moved == 2 && !window->link().cmdtx_busy; }));
    mover.stop();
    ASSERT_TRUE(
        wait_until([&] { return model.state().settings["color_cal_level_white"] == "103"; }, 3000));
    model.faults().clear();
    // One request at a time: the first, then the newest value; never one inside another.
    EXPECT_EQ(sent_since(m), "$color_cal_level 101\r$color_cal_level 103\r");
    EXPECT_EQ(window->link().cmdrx_status, ReplyStatus::Accepted);
}

TEST_F(CalibrationTest, ChoosingAColourSetsItAndReadsItsValues) {
    open_calibration({{"color_cal_level_green", "42"}});
    auto* cbo = in_cal<QComboBox>("cbo_color");
    const std::size_t m = mark();
    cbo->setCurrentIndex(2);
    emit cbo->activated(2);
    EXPECT_EQ(sent_since(m), "$color_cal_color Green\r$color_cal_level?\r");
    EXPECT_EQ(model.state().settings["color_cal_color"], "green");
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "42");
}

TEST_F(CalibrationTest, RefreshPicksUpAColourChangedElsewhere) {
    open_calibration();
    model.state().settings["color_cal_color"] = "blue";
    model.state().settings["color_cal_level_blue"] = "9";
    const std::size_t m = mark();
    in_cal<QPushButton>("cmd_refresh")->click();
    // Outside loading the new selection counts as a choice, so it is set too.
    EXPECT_EQ(sent_since(m).substr(0, 40), "$color_cal_color?\r$color_cal_color Blue\r");
    EXPECT_EQ(in_cal<QComboBox>("cbo_color")->currentText(), "Blue");
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "9");
    EXPECT_EQ(in_cal<QScrollBar>("hsr_level")->value(), 9);
}

TEST_F(CalibrationTest, NotNumericReplyShowsTextAndKeepsTheBar) {
    open_calibration({{"color_cal_level_white", "40"}});
    auto* bar = in_cal<QScrollBar>("hsr_level");
    ASSERT_EQ(bar->value(), 40);
    model.state().settings["color_cal_level_white"] = "bright";
    const std::size_t m = mark();
    in_cal<QPushButton>("cmd_refresh")->click();
    EXPECT_EQ(sent_since(m), "$color_cal_color?\r$color_cal_level?\r");
    EXPECT_EQ(in_cal<QLineEdit>("txt_level")->text(), "bright");
    EXPECT_EQ(bar->value(), 40);
}

TEST_F(CalibrationTest, FocusSelectsTheWholeText) {
    open_calibration({{"color_cal_level_white", "123"}});
    ColorCalibrate* cal = window->findChild<ColorCalibrate*>("frm_color_calibrate");
    cal->activateWindow();
    auto* txt = in_cal<QLineEdit>("txt_level");
    txt->deselect();
    cal->txt_GotFocus(CalComponent::level);
    ASSERT_TRUE(wait_until([&] { return txt->selectedText() == "123"; }, 1000));
    EXPECT_EQ(txt->cursorPosition(), 0);
}

TEST_F(CalibrationTest, WithoutALinkOnlyValueChangesTryToSend) {
    open_with_pages();
    ColorCalibrate* cal = ColorCalibrate::show_for(*window);
    EXPECT_TRUE(dialogs.messages.empty());  // load and refresh do nothing
    EXPECT_EQ(in_cal<QComboBox>("cbo_color")->currentIndex(), 0);
    in_cal<QScrollBar>("hsr_level")->setValue(5);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Ethernet is disconnected !.");
    cal->close();
}

}  // namespace
}  // namespace t27::testing
