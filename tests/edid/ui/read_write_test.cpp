// The READ and WRITE sides against the unit: reading from the sink and the
// slots, writing into a slot, and the selectors that follow the unit.
#include <QFile>
#include <QKeyEvent>
#include <QTextCursor>

#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

std::string hex2(int v) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    if (v >= 16) s += d[v >> 4];
    return s + d[v & 15];
}

std::string pair2(int v) { return v < 16 ? "0" + hex2(v) : hex2(v); }

TEST_F(EdidTabTest, TwoBlockSinkReadShowsTextLabelsAndType) {
    const EdidImage img = hdmi_two_blocks();
    store().sink = as_vector(img.bytes());
    linked();
    click("cmd_read_0");

    const auto lines = text_lines(read_text());
    ASSERT_EQ(lines.size(), 33u);
    int separators = 0;
    for (const std::string& l : lines) {
        EXPECT_EQ(l.size(), 29u);
        if (l == std::string(29, ' ')) ++separators;
    }
    EXPECT_EQ(separators, 1);
    EXPECT_EQ(lines[16], std::string(29, ' '));
    for (int b = 0; b < 2; ++b) {
        const std::string name = "lab_read_checksum_" + std::to_string(b);
        EXPECT_EQ(text_of(name.c_str()),
                  "BK" + std::to_string(b) + "=" + hex2(img.get(128 * b + 127)) + "h");
        EXPECT_EQ(colour_of(name.c_str()), 0u);
    }
    EXPECT_EQ(text_of("lab_read_checksum_2"), "BK2");
    EXPECT_EQ(text_of("lab_read_type"), "HDMI HD");
    EXPECT_EQ(text_of("lab_read_manuf"), "TVX");
    EXPECT_EQ(text_of("lab_read_model1"), "BENCH MO");
    EXPECT_EQ(text_of("lab_read_model2"), "NITOR");
    EXPECT_EQ(text_of("lab_read_native"), "1920x1080p");
    EXPECT_FALSE(shown("lab_read_msg1"));
    EXPECT_FALSE(shown("cmd_read_recover_0"));
    EXPECT_TRUE(find<QWidget>("cmd_read_4")->isEnabled());
    EXPECT_EQ(wire_count("$edid_read sink_h,block"), 2u);
    EXPECT_TRUE(find<QWidget>("cmd_read_0")->isEnabled());  // given back after the read
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EdidTabTest, OneBlockImageWithBlankSecondBlock) {
    EdidImage one = base_image(1, false);
    one.fix_checksums();
    std::vector<std::uint8_t> slot = as_vector(one.bytes());
    slot.resize(256, 0xFF);
    store().defaults[0].image = slot;
    linked();
    choose("imgcbo_read", 3);  // d1
    click("cmd_read_0");

    EXPECT_EQ(tab->read_buffer().size, 128);
    EXPECT_EQ(tab->read_buffer().block_count, 1);
    EXPECT_EQ(text_of("lab_read_checksum_0"), "BK0=" + hex2(one.get(127)) + "h");
    EXPECT_EQ(text_of("lab_read_checksum_1"), "BK1");
    EXPECT_EQ(text_of("lab_read_type"), "ANALOG");
    EXPECT_EQ(text_lines(read_text()).size(), 33u);  // the erased block is shown as read
}

TEST_F(EdidTabTest, ExtensionCountTwoFromTheSinkReadsBlockTwo) {
    store().sink = as_vector(hdmi_with_block_map(3).bytes());
    linked();
    click("cmd_read_0");
    EXPECT_EQ(wire_count("$edid_read sink_h,block2\r"), 1u);
    EXPECT_EQ(wire_count("$edid_read sink_h,block3\r"), 0u);
    EXPECT_EQ(tab->read_buffer().size, 384);
    EXPECT_EQ(text_lines(read_text()).size(), 48u + 2u);
    // The CEA-861 block that decides the type is block 2 of a three-block image.
    EXPECT_EQ(text_of("lab_read_type"), "HDMI HD");
    EXPECT_EQ(text_of("lab_read_checksum_2").substr(0, 4), "BK2=");
}

TEST_F(EdidTabTest, StaleBytesOfAnEarlierReadAreNotJudged) {
    // First a three-block sink, whose valid block 2 stays behind ...
    store().sink = as_vector(hdmi_with_block_map(3).bytes());
    // ... then a user slot whose block 0 claims two extensions.
    EdidImage claims = hdmi_two_blocks();
    claims.set(126, 2).fix_checksums();
    store().users[0].image = as_vector(claims.bytes());
    linked();
    click("cmd_read_0");
    ASSERT_EQ(text_of("lab_read_type"), "HDMI HD");

    choose("imgcbo_read", 13);  // c1
    click("cmd_read_0");
    EXPECT_EQ(wire_count("$edid_read c1,block2"), 0u);
    EXPECT_EQ(tab->read_buffer().size, 256);
    for (int i = 256; i < 384; ++i)
        ASSERT_EQ(tab->read_buffer().data[static_cast<std::size_t>(i)], 0);
    EXPECT_TRUE(shown("lab_read_msg1"));
    EXPECT_EQ(text_of("lab_read_msg1"), "Wrong ---");
    EXPECT_EQ(text_of("lab_read_msg2"), "Block No.");
    EXPECT_EQ(colour_of("lab_read_msg2"), colour::red);
    EXPECT_FALSE(find<QWidget>("cmd_read_4")->isEnabled());
}

TEST_F(EdidTabTest, ReadEndedByErrDdcLeavesTheWindowEmpty) {
    linked();
    choose("imgcbo_read", 3);
    click("cmd_read_0");
    ASSERT_FALSE(read_text().empty());
    model.attach_sink("none");
    choose("imgcbo_read", 1);
    click("cmd_read_0");
    EXPECT_TRUE(read_text().empty());
    EXPECT_EQ(wire_count("$edid_read sink_h,block0\r"), 1u);
    EXPECT_EQ(wire_count("$edid_read sink_h,block1\r"), 0u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(text_of("lab_read_type"), "");
    EXPECT_FALSE(shown("lab_read_msg1"));
}

TEST_F(EdidTabTest, WrongChecksumShowsErrorAndRepairFixesIt) {
    EdidImage img = hdmi_two_blocks();
    const int good = img.get(127);
    img.set(127, good ^ 0x55);
    store().sink = as_vector(img.bytes());
    linked();
    click("cmd_read_0");
    EXPECT_EQ(text_of("lab_read_msg2"), "Checksum");
    EXPECT_EQ(text_of("lab_read_checksum_0"), "BK0=" + hex2(good) + "h Error");
    EXPECT_EQ(colour_of("lab_read_checksum_0"), colour::red);
    ASSERT_TRUE(shown("cmd_read_recover_0"));
    EXPECT_FALSE(shown("cmd_read_recover_1"));

    click("cmd_read_recover_0");
    EXPECT_EQ(tab->read_buffer().data[127], good);
    EXPECT_EQ(text_lines(read_text())[15].substr(21, 2), pair2(good));
    EXPECT_EQ(text_of("lab_read_checksum_0"), "BK0=" + hex2(good) + "h fixed");
    EXPECT_EQ(colour_of("lab_read_checksum_0"), 0u);
    EXPECT_FALSE(shown("cmd_read_recover_0"));
    EXPECT_EQ(text_of("lab_read_msg2"), "Checksum");                  // the check is not run again
    EXPECT_EQ(window->windowTitle(), "Torvex T27 Controller 2.18T");  // " *" is for WRITE only
}

TEST_F(EdidTabTest, WriteToUserSlotNamesItInBothSelectors) {
    const EdidImage img = hdmi_two_blocks();
    linked();
    open_into_write("bench.bin", img.bytes());
    ASSERT_TRUE(find<QWidget>("cmd_write_4")->isEnabled());
    choose("imgcbo_write", 5);  // c3
    click("cmd_write_4");
    EXPECT_EQ(store().users[2].image, as_vector(img.bytes()));
    EXPECT_EQ(item_text("imgcbo_write", 5), "TVX.BENCH MONITOR");
    EXPECT_EQ(item_text("imgcbo_read", 15), "TVX.BENCH MONITOR");

    // Reading the slot back gives the same image.
    choose("imgcbo_read", 15);
    click("cmd_read_0");
    EXPECT_EQ(std::string(tab->read_buffer().data.begin(), tab->read_buffer().data.begin() + 256),
              img.bytes());
}

// Keys as a person presses them in a hex window: select all, then the text.
void type_over(HexWindow* w, const QString& text) {
    QKeyEvent select_all(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QCoreApplication::sendEvent(w, &select_all);
    for (const QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &key);
    }
}

std::string block_write(const std::string& slot, int block, const std::string& image) {
    std::string line = "$edid_write " + slot + ",block" + std::to_string(block) + "\r\n";
    for (int i = 0; i < 128; ++i) {
        const std::size_t at = static_cast<std::size_t>(block * 128 + i);
        line += pair2(at < image.size() ? static_cast<unsigned char>(image[at]) : 0) + " ";
    }
    return line + "\r";
}

// Whatever the write button sends is what the WRITE window shows: typed text
// is read as a .hex file is, and text that does not read sends nothing.
TEST_F(EdidTabTest, TypedWriteWindowIsWhatTheWriteButtonSends) {
    linked();
    HexWindow* hex = tab->panel(edid_write_side).text;
    struct Step {
        const char* before;  // "open", "failed open" or "gone recent"
        QString typed;
        bool sends;
        std::string image;  // what goes to the unit, when anything does
    };
    const Step steps[] = {
        {"open", "AB CD EF", true, "\xAB\xCD\xEF"},
        {"open", "12 3X", false, ""},
        {"failed open", "zz", false, ""},
        {"failed open", "00 ff 01", true, std::string("\x00\xFF\x01", 3)},
        {"gone recent", "not hex", false, ""},
        {"gone recent", "07 08", true, "\x07\x08"},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(std::string(st.before) + " then " + st.typed.toStdString());
        open_into_write("two.bin", hdmi_two_blocks().bytes());
        if (std::string(st.before) != "open") open_into_write("junk.hex", "12 3X\r\n");
        type_over(hex, st.typed);
        if (std::string(st.before) == "gone recent") {
            window->state().recent_files[0] = path("gone.bin");
            tab->lab_pre_f_Click(0);
        }
        choose("imgcbo_write", 5);  // c3
        const std::string wire_before = server.wire();
        const std::size_t messages = dialogs.messages.size();
        tab->edid_write();
        const std::string sent = server.wire().substr(wire_before.size());
        if (st.sends) {
            EXPECT_TRUE(find<QWidget>("cmd_write_4")->isEnabled());
            EXPECT_EQ(sent, block_write("c3", 0, st.image) + block_write("c3", 1, st.image));
            std::string slot = st.image;
            slot.resize(256, '\0');
            EXPECT_EQ(store().users[2].image, as_vector(slot));
        } else {
            for (const char* b : {"cmd_write_2", "cmd_write_3", "cmd_write_4", "cmd_write_7",
                                  "cmd_read_1", "cmd_edid_edit"})
                EXPECT_FALSE(find<QWidget>(b)->isEnabled()) << b;
            EXPECT_EQ(sent, "");
            EXPECT_TRUE(shown("lab_write_msg1"));
            EXPECT_EQ(text_of("lab_write_msg1") + " " + text_of("lab_write_msg2"),
                      "Typed text is not EDID hex");
            ASSERT_GT(dialogs.messages.size(), messages);
            EXPECT_NE(dialogs.messages.back().find("does not read as EDID hex"), std::string::npos)
                << dialogs.messages.back();
            // Nor can it reach the unit, compare or analysis any other way.
            tab->edid_analyse(edid_write_side);
            tab->edid_compare();
            EXPECT_FALSE(tab->analysis()->isVisible());
        }
        EXPECT_EQ(write_text(), st.typed.toStdString());  // the text stays as typed
    }
    // SAVE still works from the text, as typed.
    dialogs.next_filter = "*.bin (*.bin)";
    dialogs.next_file = path("typed.bin");
    tab->edid_file_save(edid_write_side);
    QFile saved(QString::fromStdString(path("typed.bin")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), "\x07\x08");
}

TEST_F(EdidTabTest, SecondEntryFollowsTheFamily) {
    MainWindow& w = linked();  // "T27": the V4 family has an analog sink
    EXPECT_EQ(item_text("imgcbo_read", 2), "VGA  Sink");
    EXPECT_EQ(item_text("imgcbo_write", 2), "VGA  Sink");
    model.state().identity.model = "T28";
    w.img_refresh_Click();
    EXPECT_EQ(item_text("imgcbo_read", 2), "---      ");
    EXPECT_EQ(item_text("imgcbo_write", 2), "---      ");
    const std::size_t before = server.wire().size();
    choose("imgcbo_read", 2);
    click("cmd_read_0");
    EXPECT_EQ(server.wire().size(), before);  // nothing sent for another family
}

TEST_F(EdidTabTest, RefreshReadsSlotNamesAndRxSource) {
    store().defaults[9].name = "DEFAULT TEN";
    store().users[0].name = "Lab one";
    store().rx_source = "c3";
    linked();
    EXPECT_EQ(item_text("imgcbo_read", 12), "DEFAULT TEN");
    EXPECT_EQ(item_text("imgcbo_read", 13), "Lab one");
    EXPECT_EQ(item_text("imgcbo_write", 3), "Lab one");
    EXPECT_EQ(tab->rx_index(), 14);
    EXPECT_EQ(find<QWidget>("cmd_write_6")->property("t27_image").toInt(), 14);
}

}  // namespace
}  // namespace t27::testing

namespace t27::testing {
namespace {

TEST_F(EdidTabTest, PageRemovedBeforeTheWindowLeavesNothingBehind) {
    MainWindow& w = linked();
    delete tab;
    tab = nullptr;
    // The link still names the second selector entry and the poll may still
    // run a deferred rename: neither may reach the page that is gone.
    w.img_refresh_Click();
    w.run_pending_action(pending_slot_rename);
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::Accepted);
}

}  // namespace
}  // namespace t27::testing
