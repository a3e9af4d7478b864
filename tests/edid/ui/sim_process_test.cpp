// The EDID tab against t27-unit-sim running as its own process, over TCP on
// 127.0.0.1: read the sink, save it, open it again, compare, write it to a
// user slot and read the slot back.
#include <QRadioButton>

#include "edid/unit/edid_items.h"
#include "tests/edid/ui/sim_fixture.h"
#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

TEST_F(EdidSimProcessTest, EdidRoundTripThroughTheSimulator) {
    ASSERT_NO_FATAL_FAILURE(link_to_sim());
    auto* read_combo = find<QComboBox>("imgcbo_read");
    auto* write_combo = find<QComboBox>("imgcbo_write");
    EXPECT_NE(read_combo->itemText(2), "---");  // the default EDIDs have names

    // Read the sink and save it as C-language hex text.
    find<QAbstractButton>("cmd_read_0")->click();
    const std::string sink_text = tab->panel(edid_read_side).text->text();
    ASSERT_EQ(text_lines(sink_text).size() % 17, 16u);  // whole blocks, separators between
    ASSERT_FALSE(find<QLabel>("lab_read_msg1")->isVisible());
    tab->run_modal = [](QDialog& d) {
        d.findChild<QRadioButton*>("opt_hex_type_1")->setChecked(true);
        d.findChild<QAbstractButton*>("cmd_ok")->click();
    };
    const std::string file = dir.filePath("sink.hex").toStdString();
    dialogs.next_file = file;
    find<QAbstractButton>("cmd_read_6")->click();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(file)));

    // Open it into WRITE: the same image.
    find<QAbstractButton>("cmd_write_1")->click();
    ASSERT_FALSE(tab->panel(edid_write_side).text->text().empty());
    find<QAbstractButton>("cmd_read_1")->click();
    EXPECT_EQ(find<QLabel>("lab_read_msg1")->text(), "Match");

    // Write it into c4 and read c4 back.
    write_combo->setCurrentIndex(edid_write_item_of_user(4) - 1);
    find<QAbstractButton>("cmd_write_4")->click();
    const QString name = find<QLabel>("lab_write_manuf")->text() + "." +
                         find<QLabel>("lab_write_model1")->text() +
                         find<QLabel>("lab_write_model2")->text();
    EXPECT_EQ(write_combo->itemText(edid_write_item_of_user(4) - 1), name);
    EXPECT_EQ(read_combo->itemText(edid_read_item_of_user(4) - 1), name);
    read_combo->setCurrentIndex(edid_read_item_of_user(4) - 1);
    find<QAbstractButton>("cmd_read_0")->click();
    const std::string slot_text = tab->panel(edid_read_side).text->text();
    // A slot holds two blocks: the first two of the sink's.
    EXPECT_EQ(slot_text, sink_text.substr(0, slot_text.size()));
    find<QAbstractButton>("cmd_read_1")->click();
    EXPECT_EQ(find<QLabel>("lab_read_msg1")->text(), "Match");
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace t27::testing
