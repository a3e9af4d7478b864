// The analysis frame of the EDID tab: toggled by either ANALYZE, the tree,
// the report, saving it.
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "tests/edid/ui/tab_fixture.h"

namespace t27::testing {
namespace {

std::string report_text(QPlainTextEdit* t) { return t->toPlainText().toStdString(); }

TEST_F(EdidTabTest, AnalyzeTogglesTheFrameWithTreeAndReport) {
    store().sink = as_vector(hdmi_two_blocks().bytes());
    MainWindow& w = linked();
    click("cmd_write_7");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "WRITE window is empty");
    EXPECT_FALSE(shown("fra_edid_analyse"));

    click("cmd_read_0");
    click("cmd_read_4");
    ASSERT_TRUE(shown("fra_edid_analyse"));
    EXPECT_EQ(find<QGroupBox>("fra_edid_analyse")->title(), "Analyse");
    QTreeWidget* tree = find<QTreeWidget>("tree_edid");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Summary :");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Block 0 : VESA Basic Block");
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 7);
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    EXPECT_TRUE(tree->topLevelItem(0)->font(0).bold());
    auto* txt = find<QPlainTextEdit>("txt_edid_ana");
    EXPECT_EQ(report_text(txt).substr(0, 37), "EDID Type = HDMI HD , Total 2 blocks\n");

    // Another node takes the bold and leaves the report alone.
    tab->analysis()->tree_edid_NodeClick(5);
    EXPECT_FALSE(tree->topLevelItem(0)->font(0).bold());
    EXPECT_TRUE(tab->analysis()->node(5)->font(0).bold());
    EXPECT_FALSE(report_text(txt).empty());

    // Save: the heading with the unit's captions, the report, "END.".
    dialogs.next_file = path("report");
    click("cmd_edid_save_report");
    QFile f(QString::fromStdString(path("report.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string saved = f.readAll().toStdString();
    const auto lines = text_lines(saved);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 21), "EDID Analysis Report ");
    EXPECT_EQ(lines[1], "Model: " + find<QLabel>("lab_model")->text().toStdString() + " , " +
                            find<QLabel>("lab_fw_ver")->text().toStdString() + " , AP: 2.18T");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "EDID Type = HDMI HD , Total 2 blocks");
    EXPECT_EQ(saved.substr(saved.size() - 8), "\r\nEND.\r\n");

    click("cmd_read_4");
    EXPECT_FALSE(shown("fra_edid_analyse"));
    click("cmd_read_4");
    click("cmd_edid_exit");
    EXPECT_FALSE(shown("fra_edid_analyse"));
    (void)w;
}

TEST_F(EdidTabTest, BadHeaderGivesOnlyTheSummary) {
    EdidImage img = hdmi_two_blocks();
    img.set(0, 0x01).fix_checksums();
    linked();
    open_into_write("bad.bin", img.bytes());
    EXPECT_EQ(text_of("lab_write_msg2"), "Header");
    click("cmd_write_7");
    QTreeWidget* tree = find<QTreeWidget>("tree_edid");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(report_text(find<QPlainTextEdit>("txt_edid_ana")).substr(0, 31),
              ">>>>> ! Block0 has bad header.\n");
}

}  // namespace
}  // namespace t27::testing
