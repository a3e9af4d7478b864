// Files, the recent list, compare, copy and repair on the EDID tab.
#include <QFile>
#include <QGroupBox>
#include <QRadioButton>

#include "edid/ui/copy_sink_window.h"
#include "edid/edid_files.h"
#include "edid/ui/hex_type_dialog.h"
#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

std::string file_bytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

TEST_F(EdidTabTest, OpenLoadsIntoWriteAndRemembersTheFile) {
    MainWindow& w = linked();
    open_into_write("two.bin", hdmi_two_blocks().bytes());
    EXPECT_EQ(tab->current_file(), path("two.bin"));
    EXPECT_EQ(w.windowTitle().toStdString(), path("two.bin") + " - Torvex T27 Controller 2.18T");
    EXPECT_EQ(w.state().recent_files[0], path("two.bin"));
    // The file loader puts a separator after every block, the last one too.
    EXPECT_EQ(text_lines(write_text()).size(), 34u);
    EXPECT_EQ(text_of("lab_write_type"), "HDMI HD");
    EXPECT_TRUE(find<QWidget>("cmd_write_2")->isEnabled());
    EXPECT_TRUE(find<QWidget>("cmd_write_3")->isEnabled());

    // A name the dialog gives but that is not there.
    dialogs.next_file = path("gone.hex");
    click("cmd_write_1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], path("gone.hex") + " dosen't exist !");
    EXPECT_EQ(dialogs.icons[0], MessageIcon::Error);
    EXPECT_EQ(tab->current_file(), path("two.bin"));

    // Content that is not an EDID: "Wrong ---" and "Data" in black.
    open_into_write("junk.hex", "12 3X\r\n");
    EXPECT_TRUE(shown("lab_write_msg1"));
    EXPECT_EQ(text_of("lab_write_msg1"), "Wrong ---");
    EXPECT_EQ(text_of("lab_write_msg2"), "Data");
    EXPECT_EQ(colour_of("lab_write_msg2"), 0u);
    EXPECT_TRUE(write_text().empty());
    open_into_write("edid.txt", "00 FF\r\n");
    EXPECT_EQ(text_of("lab_write_msg2"), "File format");
    // Nothing of two.bin is left to be written under the failed file's name.
    for (const char* b : {"cmd_write_2", "cmd_write_3", "cmd_write_4", "cmd_write_7"})
        EXPECT_FALSE(find<QWidget>(b)->isEnabled()) << b;
    EXPECT_EQ(tab->write_buffer().size, 0);
    EXPECT_EQ(tab->write_buffer().byte(8), 0);
    const std::size_t writes = wire_count("$edid_write");
    tab->edid_write();
    EXPECT_EQ(wire_count("$edid_write"), writes);
    EXPECT_EQ(dialogs.messages.back(), "WRITE window is empty");

    click("cmd_write_10");  // CLEAR
    EXPECT_FALSE(find<QWidget>("cmd_write_4")->isEnabled());
    EXPECT_EQ(tab->current_file(), "");
    EXPECT_EQ(w.windowTitle(), "Torvex T27 Controller 2.18T");
}

TEST_F(EdidTabTest, RecentListOpensMovesAndForgetsFiles) {
    MainWindow& w = linked();
    write_file("a.bin", QByteArray::fromStdString(hdmi_two_blocks().bytes()));
    w.state().recent_files = {path("gone.bin"), path("a.bin"), path("b.bin")};
    click("cmd_write_0");
    ASSERT_TRUE(shown("fra_pre_f"));
    EXPECT_EQ(find<QGroupBox>("fra_pre_f")->title(), "Previuos Files");
    EXPECT_EQ(text_of("lab_pre_f_1"), path("a.bin"));

    tab->recent_frame()->lab_pre_f_MouseMove(1);
    QLabel* hovered = find<QLabel>("lab_pre_f_1");
    EXPECT_EQ(hovered->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(hovered->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(find<QLabel>("lab_pre_f_0")->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    tab->lab_pre_f_Click(0);
    EXPECT_FALSE(shown("fra_pre_f"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], path("gone.bin") + " doesn't exist !");
    EXPECT_EQ(w.state().recent_files[0], path("a.bin"));
    EXPECT_EQ(w.state().recent_files[1], path("b.bin"));
    EXPECT_EQ(w.state().recent_files[9], "");
    EXPECT_FALSE(find<QWidget>("cmd_write_4")->isEnabled());  // no current file yet

    tab->lab_pre_f_Click(1);  // b.bin is gone too
    tab->lab_pre_f_Click(0);
    EXPECT_EQ(tab->current_file(), path("a.bin"));
    EXPECT_EQ(text_of("lab_write_type"), "HDMI HD");
    EXPECT_TRUE(find<QWidget>("cmd_write_4")->isEnabled());
}

TEST_F(EdidTabTest, SaveAsksBeforeOverwritingAndWritesTheChosenKind) {
    const EdidImage img = hdmi_two_blocks();
    store().sink = as_vector(img.bytes());
    MainWindow& w = linked();
    click("cmd_read_6");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "READ window is empty");
    click("cmd_read_0");

    // "edid" becomes edid.hex; that file exists, so the question names it.
    write_file("edid.hex", "old");
    dialogs.next_file = path("edid");
    dialogs.answers = {Answer::No, Answer::Yes};
    int diag_runs = 0;
    tab->run_modal = [&](QDialog& d) {
        ++diag_runs;
        EXPECT_EQ(d.objectName(), "frm_diag");
        EXPECT_EQ(d.windowTitle(), "EDID");
        EXPECT_EQ(d.findChild<QGroupBox*>("fra_hex_type")->title(), "HEX Type");
        d.findChild<QRadioButton*>("opt_hex_type_1")->setChecked(true);
        d.findChild<QAbstractButton*>("cmd_ok")->click();
    };
    click("cmd_read_6");
    ASSERT_EQ(dialogs.questions.size(), 2u);  // No asked again
    EXPECT_EQ(dialogs.questions[1], path("edid.hex") + " exists. Overwrite it ?");
    EXPECT_EQ(diag_runs, 1);
    const auto lines = text_lines(file_bytes(path("edid.hex")));
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0], "0x00,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0x00, //7  ");
    EXPECT_EQ(lines[16], "");
    const EdidLoad back = edid_file_load(path("edid.hex"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(std::string(back.buffer.data.begin(), back.buffer.data.begin() + 256), img.bytes());
    EXPECT_EQ(tab->current_file(), path("edid.hex"));
    EXPECT_EQ(w.windowTitle().toStdString(), path("edid.hex") + " Torvex T27 Controller 2.18T");
    EXPECT_EQ(w.state().recent_files[0], path("edid.hex"));

    // A .bin name needs no HEX type; Cancel at the question writes nothing.
    dialogs.next_file = path("edid.BIN");
    click("cmd_read_6");
    EXPECT_EQ(diag_runs, 1);
    EXPECT_EQ(file_bytes(path("edid.BIN")), img.bytes());
    dialogs.answers = {Answer::Cancel};
    write_file("keep.bin", "keep");
    dialogs.next_file = path("keep.bin");
    click("cmd_read_6");
    EXPECT_EQ(file_bytes(path("keep.bin")), "keep");

    // The filter left chosen decides the kind, over a typed extension.
    dialogs.next_filter = "*.bin (*.bin)";
    for (const char* typed : {"raw", "raw2.hex"}) {
        dialogs.next_file = path(typed);
        click("cmd_read_6");
    }
    EXPECT_EQ(diag_runs, 1);
    EXPECT_EQ(file_bytes(path("raw.bin")), img.bytes());
    EXPECT_EQ(file_bytes(path("raw2.bin")), img.bytes());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("raw2.hex"))));
    EXPECT_EQ(dialogs.save_filters.back(), "*.hex (*.hex);;*.bin (*.bin)");
}

TEST_F(EdidTabTest, CompareMarksTheDigitsOfDifferingBytes) {
    const EdidImage img = hdmi_two_blocks();
    store().sink = as_vector(img.bytes());
    linked();
    click("cmd_read_1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "READ or WRITE data is empty!");
    click("cmd_read_0");

    EdidImage other = img;
    other.set(200, img.get(200) ^ 0x01);
    open_into_write("other.bin", other.bytes());
    click("cmd_read_1");
    EXPECT_TRUE(shown("lab_read_msg1"));
    EXPECT_EQ(text_of("lab_read_msg1"), "1 wrong");
    EXPECT_EQ(text_of("lab_read_msg2"), " data !");
    EXPECT_EQ(colour_of("lab_read_msg1"), colour::red);
    const std::size_t at = 3 * 200 + 7 * (200 / 8) + 31;
    for (int side : {edid_read_side, edid_write_side}) {
        HexWindow* t = tab->panel(side).text;
        EXPECT_EQ(t->colour_at(at), colour::red);
        EXPECT_EQ(t->colour_at(at + 1), colour::red);
        EXPECT_EQ(t->colour_at(at + 2), 0u);
        EXPECT_EQ(t->colour_at(at - 3), 0u);
    }

    // The same image on both sides: the marks go, "Match" in green.
    click("cmd_read_2");  // <= COPY
    EXPECT_EQ(window->windowTitle(), "Copy READ -Torvex T27 Controller 2.18T");
    EXPECT_EQ(write_text(), read_text());
    EXPECT_EQ(tab->current_file(), "");
    click("cmd_read_1");
    EXPECT_EQ(text_of("lab_read_msg1"), "Match");
    EXPECT_EQ(text_of("lab_read_msg2"), " entirely.");
    EXPECT_EQ(colour_of("lab_read_msg2"), colour::green);
    EXPECT_EQ(tab->panel(edid_read_side).text->colour_at(at), 0u);
}

TEST_F(EdidTabTest, RepairOfBlockOneKeepsTheLaterBlocks) {
    EdidImage img = hdmi_with_block_map(4);
    const int good = block_sum_checksum(img, 1);
    img.set(255, good ^ 0x0F);
    MainWindow& w = linked();
    open_into_write("four.bin", img.bytes());
    EXPECT_EQ(text_of("lab_write_msg2"), "Checksum");
    EXPECT_EQ(colour_of("lab_write_msg2"), colour::red);
    ASSERT_TRUE(shown("cmd_write_recover_1"));
    EXPECT_EQ(text_of("lab_write_checksum_1").substr(text_of("lab_write_checksum_1").size() - 6),
              " Error");

    const std::string before = write_text();
    const std::size_t ff_line = before.find("//FF ");
    ASSERT_NE(ff_line, std::string::npos);
    click("cmd_write_recover_1");
    const std::string after = write_text();
    EXPECT_EQ(tab->write_buffer().data[255], good);
    EXPECT_EQ(after.substr(ff_line - 3, 2),
              (good < 16 ? "0" : "") + QString::number(good, 16).toUpper().toStdString());
    // Everything but that pair is as it was, blocks 2 and 3 included.
    EXPECT_EQ(after.substr(0, ff_line - 3), before.substr(0, ff_line - 3));
    EXPECT_EQ(after.substr(ff_line - 1), before.substr(ff_line - 1));
    EXPECT_EQ(text_of("lab_write_checksum_1"),
              "BK1=" + QString::number(good, 16).toUpper().toStdString() + "h fixed");
    EXPECT_FALSE(shown("cmd_write_recover_1"));
    EXPECT_EQ(w.windowTitle().toStdString(), path("four.bin") + " - Torvex T27 Controller 2.18T *");
}

}  // namespace
}  // namespace t27::testing
