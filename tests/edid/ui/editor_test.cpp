// The EDID editor opened from the WRITE side: an edited image written to a
// user slot of t27-unit-sim and read back unchanged; undo, refusals, Cancel.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTreeWidget>

#include "edid/unit/edid_items.h"
#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"
#include "edid/ui/editor_window.h"
#include "edid/hex_text.h"
#include "edid/ui/hex_window.h"
#include "tests/edid/ui/sim_fixture.h"
#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

template <typename T>
T* in(QDialog& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Selects the first tree node whose caption starts with `caption`.
void choose_node(QDialog& d, const char* caption) {
    auto* tree = in<QTreeWidget>(d, "tree_edid_edit");
    const auto found =
        tree->findItems(QString::fromLatin1(caption), Qt::MatchStartsWith | Qt::MatchRecursive);
    ASSERT_FALSE(found.isEmpty()) << caption;
    tree->setCurrentItem(found.first());
}

void check_vic(QDialog& d, int vic) {
    auto* list = in<QListWidget>(d, "lst_edid_edit_vic");
    if (!list) return;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toInt() == vic)
            list->item(i)->setCheckState(Qt::Checked);
}

void add_data_block(QDialog& d, const char* label) {
    choose_node(d, "Block 1:");
    auto* kind = in<QComboBox>(d, "cbo_edid_edit_add_kind");
    kind->setCurrentIndex(kind->findText(QString::fromLatin1(label)));
    in<QAbstractButton>(d, "cmd_edid_edit_add_data")->click();
}

std::string label(QDialog& d, const char* name) {
    return in<QLabel>(d, name)->text().toStdString();
}

// A real two-block HDMI image when the shared samples are there, else one
// built for the tests: neither has HDR metadata or colorimetry, and neither
// takes 594 MHz. A screenshot for the repository shows the built one, so no
// real display's bytes end up there.
std::string sample_image() {
    QFile f(QStringLiteral(T27_EDID_SAMPLES "/hdmi-09.bin"));
    if (qEnvironmentVariableIsEmpty("T27_EDITOR_SCREENSHOT") && f.open(QIODevice::ReadOnly))
        return f.readAll().toStdString();
    // 1080p native and 720p, LPCM 2 channels, the HDMI vendor block.
    EdidImage img = base_image(2);
    img.cea(1, {data_block(2, {0x90, 0x04}), data_block(1, {0x09, 0x07, 0x07}), hdmi_vsdb()});
    return img.fix_checksums().bytes();
}

bool has_vic(const EdidModel& m, int vic) {
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
        for (int code : svd_codes(m.part(r.block, r.part)))
            if (svd_decode(code).vic == vic) return true;
    return false;
}

TEST_F(EdidSimProcessTest, EditedImageWrittenToASlotReadsBackTheSame) {
    ASSERT_NO_FATAL_FAILURE(link_to_sim());
    MainWindow& w = *window;

    const std::string image = sample_image();
    write_file("sample.bin", QByteArray::fromStdString(image));
    dialogs.next_file = dir.filePath("sample.bin").toStdString();
    find<QAbstractButton>("cmd_write_1")->click();
    const QString title = w.windowTitle();

    tab->run_modal = [](QDialog& d) {
        choose_node(d, "Video data block");
        check_vic(d, 97);
        add_data_block(d, "HDR static metadata");
        // Both are allowed, and both are worth a line.
        const std::string warn = label(d, "lab_edid_edit_warn");
        EXPECT_NE(warn.find("VIC 97"), std::string::npos) << warn;
        EXPECT_NE(warn.find("BT.2020"), std::string::npos) << warn;
        EXPECT_EQ(label(d, "lab_edid_edit_msg"), "");
        EXPECT_EQ(label(d, "lab_edid_edit_check").rfind("Check: HDMI", 0), 0u)
            << label(d, "lab_edid_edit_check");
        if (const QByteArray shot = qgetenv("T27_EDITOR_SCREENSHOT"); !shot.isEmpty()) {
            choose_node(d, "Video data block");
            if (auto* list = in<QListWidget>(d, "lst_edid_edit_vic"))
                list->scrollToItem(list->item(96), QAbstractItemView::PositionAtCenter);
            d.show();
            wait_until([] { return false; }, 300);
            d.grab().save(QString::fromLocal8Bit(shot));
        }
        in<QAbstractButton>(d, "cmd_edid_edit_apply")->click();
    };
    find<QAbstractButton>("cmd_edid_edit")->click();

    EXPECT_EQ(w.windowTitle(), title + " *");
    const std::string edited(tab->write_buffer().data.begin(),
                             tab->write_buffer().data.begin() + tab->write_buffer().size);
    const auto parsed = EdidModel::parse(edited);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(has_vic(*parsed, 97));
    EXPECT_EQ(data_blocks_of(*parsed, DataBlockKind::hdr_static).size(), 1u);
    EXPECT_FALSE(find<QWidget>("lab_write_msg1")->isVisible());  // the checksums were made right

    find<QComboBox>("imgcbo_write")->setCurrentIndex(edid_write_item_of_user(5) - 1);
    find<QAbstractButton>("cmd_write_4")->click();
    find<QComboBox>("imgcbo_read")->setCurrentIndex(edid_read_item_of_user(5) - 1);
    find<QAbstractButton>("cmd_read_0")->click();
    find<QAbstractButton>("cmd_read_1")->click();
    EXPECT_EQ(find<QLabel>("lab_read_msg1")->text(), "Match");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EdidTabTest, EditorUndoesRefusesAndCancels) {
    MainWindow& w = linked();
    click("cmd_edid_edit");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "WRITE window is empty");

    open_into_write("two.bin", hdmi_two_blocks().bytes());
    const std::string text = write_text();
    const QString title = w.windowTitle();
    tab->run_modal = [](QDialog& d) {
        auto& editor = dynamic_cast<EdidEditorWindow&>(d);
        const std::string original = editor.image();
        choose_node(d, "Descriptor 2: Monitor name");
        auto* name = in<QLineEdit>(d, "fld_monitor_name");
        for (const char* typed : {"B", "BE", "BENCH 2"}) {
            name->setText(QString::fromLatin1(typed));
            emit name->textEdited(name->text());
        }
        EXPECT_NE(label(d, "lab_edid_edit_check").find("BENCH 2"), std::string::npos);
        // "BENCH MONITOR" became "BENCH 2": byte 83 changed, byte 82 did not.
        auto* hex = in<HexWindow>(d, "rtxt_edid_edit_hex");
        EXPECT_EQ(hex->colour_at(3 * 83 + 7 * 10), colour::red);
        EXPECT_EQ(hex->colour_at(3 * 82 + 7 * 10), 0u);
        choose_node(d, "Vendor and product");
        in<QSpinBox>(d, "fld_product_code")->setValue(4660);
        const std::string both = editor.image();

        // Typing the name was one step, the product code another.
        in<QAbstractButton>(d, "cmd_edid_edit_undo")->click();
        in<QAbstractButton>(d, "cmd_edid_edit_undo")->click();
        EXPECT_EQ(editor.image(), original);
        EXPECT_FALSE(in<QWidget>(d, "cmd_edid_edit_undo")->isEnabled());
        in<QAbstractButton>(d, "cmd_edid_edit_redo")->click();
        in<QAbstractButton>(d, "cmd_edid_edit_redo")->click();
        EXPECT_EQ(editor.image(), both);

        // Vendor blocks until the block is full: the one that does not fit
        // is refused with its byte count and changes nothing.
        std::string before;
        for (int i = 0; i < 20 && label(d, "lab_edid_edit_msg").empty(); ++i) {
            before = editor.image();
            add_data_block(d, "HDMI Forum vendor block");
        }
        EXPECT_NE(label(d, "lab_edid_edit_msg").find("bytes of its data blocks"), std::string::npos)
            << label(d, "lab_edid_edit_msg");
        EXPECT_EQ(editor.image(), before);
        in<QAbstractButton>(d, "cmd_edid_edit_cancel")->click();
    };
    click("cmd_edid_edit");
    EXPECT_EQ(write_text(), text);
    EXPECT_EQ(w.windowTitle(), title);
}

// What the form shows beside the fields: a timing's rates, the VICs in the
// block's order, read-only fields that look it, what "Remove" removes, the
// hex view at the chosen block, and a third block's warning.
TEST_F(EdidTabTest, EditorShowsWhatTheBytesMean) {
    linked();
    EdidImage img = base_image(2);
    img.cea(1, {data_block(2, {0x90, 0x04}), data_block(1, {0x09, 0x07, 0x07}), hdmi_vsdb()});
    open_into_write("vics.bin", img.fix_checksums().bytes());
    tab->run_modal = [](QDialog& d) {
        choose_node(d, "Descriptor 1");
        EXPECT_EQ(label(d, "lab_edid_edit_timing_rates"), "148.50 MHz, 60.00 Hz, 67.50 kHz");

        choose_node(d, "Block 1:");
        auto* hex = in<HexWindow>(d, "rtxt_edid_edit_hex");
        EXPECT_EQ(static_cast<std::size_t>(hex->textCursor().position()),
                  edid_box_position(hex->text(), edid_text_offset(128)));

        choose_node(d, "Video data block");
        auto* order = in<QListWidget>(d, "lst_edid_edit_vic_order");
        ASSERT_EQ(order->count(), 2);
        EXPECT_EQ(order->item(0)->text().toStdString(),
                  "1. VIC 16: 1920x1080p 59/60 16:9 (native)");
        EXPECT_EQ(order->item(1)->text().toStdString().rfind("2. VIC 4:", 0), 0u);
        EXPECT_EQ(in<QAbstractButton>(d, "cmd_edid_edit_remove")->text().toStdString(),
                  "Remove this video data block");
        EXPECT_FALSE(in<QSpinBox>(d, "fld_tag")->hasFrame());

        add_data_block(d, "HDR static metadata");
        choose_node(d, "HDR static metadata");
        in<QAbstractButton>(d, "cmd_edid_edit_hdr_luminance")->click();
        EXPECT_NE(d.findChild<QSpinBox*>(QStringLiteral("fld_min_luminance")), nullptr);

        choose_node(d, "Block 0:");
        in<QAbstractButton>(d, "cmd_edid_edit_add_cta")->click();
        EXPECT_NE(label(d, "lab_edid_edit_warn").find("blocks 0 and 1 only"), std::string::npos)
            << label(d, "lab_edid_edit_warn");
        in<QAbstractButton>(d, "cmd_edid_edit_cancel")->click();
    };
    click("cmd_edid_edit");
}

}  // namespace
}  // namespace t27::testing
