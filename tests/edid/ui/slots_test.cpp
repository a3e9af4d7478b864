// The unit's slots from the EDID tab: rename, the Rx EDID window and the
// copy-sink window.
#include "edid/ui/copy_sink_window.h"
#include "edid/ui/rx_edid_window.h"
#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

TEST_F(EdidTabTest, RenameWarnsThenRenamesTheUserSlot) {
    linked();
    find<QLineEdit>("txt_edid_rename")->setText("   ");
    choose("imgcbo_write", 4);
    click("cmd_write_rename");
    choose("imgcbo_write", 2);
    find<QLineEdit>("txt_edid_rename")->setText("Lab A");
    click("cmd_write_rename");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], "Wrong name");
    EXPECT_EQ(dialogs.messages[1], "Sink can't be named.");
    EXPECT_EQ(dialogs.icons[1], MessageIcon::Warning);
    EXPECT_EQ(wire_count("$edid_name c"), 0u);

    choose("imgcbo_write", 4);  // c2
    find<QLineEdit>("txt_edid_rename")->setText("  Lab A ");
    click("cmd_write_rename");
    EXPECT_EQ(wire_count("$edid_name c2,Lab A\r"), 1u);
    EXPECT_EQ(store().users[1].name, "Lab A");
    EXPECT_EQ(item_text("imgcbo_write", 4), "Lab A");
    EXPECT_EQ(item_text("imgcbo_read", 14), "Lab A");

    // A unit that answers with another name: both selectors keep theirs.
    model.handlers()["$edid_name"] = [](sim::UnitModel&, const sim::Call& c) {
        return sim::make_reply(c.word, "c2,Other");
    };
    find<QLineEdit>("txt_edid_rename")->setText("Lab B");
    click("cmd_write_rename");
    EXPECT_EQ(item_text("imgcbo_write", 4), "Lab A");
    EXPECT_EQ(item_text("imgcbo_read", 14), "Lab A");
}

TEST_F(EdidTabTest, RenameWaitsWhileThePollRuns) {
    MainWindow& w = linked();
    choose("imgcbo_write", 3);
    find<QLineEdit>("txt_edid_rename")->setText("Later");
    w.state().poll_busy = true;
    click("cmd_write_rename");
    EXPECT_EQ(w.state().pending_action, pending_slot_rename);
    EXPECT_EQ(wire_count("$edid_name c1"), 0u);

    // The poll loop carries it out once it may.
    w.state().poll_busy = false;
    w.run_pending_action(pending_slot_rename);
    EXPECT_EQ(wire_count("$edid_name c1,Later\r"), 1u);
    EXPECT_EQ(item_text("imgcbo_read", 13), "Later");
}

TEST_F(EdidTabTest, RxEdidWindowSelectsTheInputSource) {
    store().defaults[1].name = "D TWO";
    linked();
    QAbstractButton* button = find<QAbstractButton>("cmd_write_6");
    int runs = 0;
    tab->run_modal = [&](QDialog& d) {
        ++runs;
        auto* rx = dynamic_cast<RxEdidWindow*>(&d);
        ASSERT_NE(rx, nullptr);
        EXPECT_EQ(d.windowTitle(), "Rx EDID Select from...");
        EXPECT_EQ(d.pos(), button->mapToGlobal(QPoint(button->width(), 0)));
        QComboBox* c = rx->combo();
        ASSERT_EQ(c->count(), 21);
        EXPECT_EQ(c->itemText(0), "HDMI Sink");
        EXPECT_EQ(c->itemText(2), "D TWO");  // the text of READ item 4
        EXPECT_EQ(c->currentIndex(), 0);     // the sink, as the unit said
        rx->imgcbo_rx_edid_Click(12);
    };
    click("cmd_write_6");
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(server.wire().substr(server.wire().size() - 12), "$edid_rx c1\r");
    EXPECT_EQ(store().rx_source, "c1");
    EXPECT_EQ(tab->rx_index(), 12);
    EXPECT_EQ(button->property("t27_image").toInt(), 12);
}

TEST_F(EdidTabTest, CopySinkFailsWithoutSinkAndRenamesAfterACopy) {
    linked();
    model.attach_sink("none");
    QAbstractButton* button = find<QAbstractButton>("cmd_read_3");
    EXPECT_EQ(button->property("t27_image").toInt(), 12);
    tab->run_modal = [&](QDialog& d) {
        auto* w = dynamic_cast<CopySinkWindow*>(&d);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(d.windowTitle(), "Copy HDMI Sink EDID to...");
        EXPECT_EQ(d.pos(), button->mapToGlobal(QPoint(button->width(), 0)));
        EXPECT_EQ(w->combo()->count(), 10);
        w->combo()->setCurrentIndex(2);
        w->cmd_copy_Click();
    };
    click("cmd_read_3");
    EXPECT_EQ(wire_count("$edid_copy_sink c3\r"), 1u);
    EXPECT_TRUE(shown("lab_read_msg1"));
    EXPECT_EQ(text_of("lab_read_msg1"), "Copy fail !");
    EXPECT_EQ(colour_of("lab_read_msg1"), colour::red);
    EXPECT_EQ(tab->copy_target(), 3);
    EXPECT_EQ(button->property("t27_image").toInt(), 14);

    // With a sink: the slot takes its EDID and the name the unit gives it,
    // and a READ side showing that slot is cleared.
    store().sink = as_vector(hdmi_two_blocks().bytes());
    store().sink_present = true;
    choose("imgcbo_read", 15);
    click("cmd_read_0");
    ASSERT_FALSE(read_text().empty());
    QString item_in_window;
    tab->run_modal = [&](QDialog& d) {
        auto* w = dynamic_cast<CopySinkWindow*>(&d);
        EXPECT_EQ(w->combo()->currentIndex(), 2);  // the last target
        w->cmd_copy_Click();
        item_in_window = w->combo()->itemText(2);
    };
    click("cmd_read_3");
    EXPECT_FALSE(shown("lab_read_msg1"));
    EXPECT_EQ(store().users[2].image, store().sink);
    EXPECT_EQ(item_in_window.toStdString(), store().users[2].name);
    EXPECT_EQ(item_text("imgcbo_read", 15), store().users[2].name);
    EXPECT_EQ(item_text("imgcbo_write", 5), store().users[2].name);
    EXPECT_TRUE(read_text().empty());
}

}  // namespace
}  // namespace t27::testing
