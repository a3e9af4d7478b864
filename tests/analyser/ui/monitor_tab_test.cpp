// The Monitor tab's controls, their places and the run control, mostly
// without a unit.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "analyser/monitor_layout.h"
#include "analyser/ui/row_caption_label.h"
#include "common/twips.h"
#include "tests/analyser/ui/monitor_fixture.h"

namespace t27::testing {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

TEST_F(MonitorTest, ControlsCarryTheirNamesAndCaptions) {
    open_monitor_window();
    EXPECT_EQ(find<QGroupBox>("fra_mon_type")->title(), "Real-time Monitor");
    EXPECT_EQ(find<QGroupBox>("fra_mon_report")->title(), "Monitor Report");
    const char* captions[] = {"System", "Video Timing", "Audio Timing", "Packet", "HDCP && SCDC"};
    for (int n = 0; n < 5; ++n) {
        const QByteArray opt = QStringLiteral("opt_mon_type_%1").arg(n).toLatin1();
        const QByteArray chk = QStringLiteral("chk_mon_report_%1").arg(n).toLatin1();
        ASSERT_NE(find<QRadioButton>(opt.constData()), nullptr) << n;
        ASSERT_NE(find<QCheckBox>(chk.constData()), nullptr) << n;
        EXPECT_EQ(find<QRadioButton>(opt.constData())->text(), captions[n]);
        EXPECT_EQ(find<QCheckBox>(chk.constData())->text(), captions[n]);
    }
    EXPECT_TRUE(find<QRadioButton>("opt_mon_type_0")->isChecked());
    EXPECT_EQ(find<QPushButton>("cmd_monitor_report")->text(), "REPORT");
    EXPECT_EQ(find<QPushButton>("cmd_monitor_save")->text(), "SAVE");
    EXPECT_EQ(find<QPushButton>("cmd_monitor_exit")->text(), "EXIT");
    EXPECT_EQ(find<QPushButton>("cmd_msg_clear")->text(), "C");
    EXPECT_NE(find<QPlainTextEdit>("txt_msg"), nullptr);
    EXPECT_EQ(find<QGroupBox>("fra_monitor_source")->title(), "SOURCE");
    EXPECT_EQ(find<QGroupBox>("fra_monitor_v4")->title(), "UNIT");
    EXPECT_EQ(find<QGroupBox>("fra_monitor_sink")->title(), "SINK");
    for (const char* arrow : {"line_arrow1", "line_arrow2", "line_arrow3"})
        EXPECT_NE(find<QWidget>(arrow), nullptr) << arrow;
    // The page lives in the Monitor tab's frame.
    EXPECT_EQ(tab->parentWidget(), window->tab_frame(tab_monitor));
}

TEST_F(MonitorTest, EveryControlTheDecodingAddressesIsALabelOfItsView) {
    open_monitor_window();
    for (int v = 0; v < analyser_view_count; ++v) {
        auto* frame = find<QFrame>(QStringLiteral("fra_monitor_%1").arg(v).toLatin1().constData());
        ASSERT_NE(frame, nullptr) << v;
        EXPECT_EQ(frame->pos(), QPoint(twips_to_px(2400), twips_to_px(240))) << v;
        for (const std::string& name : view_value_controls(v))
            EXPECT_NE(frame->findChild<QLabel*>(q(name)), nullptr) << v << " " << name;
    }
}

// Where a cell sits inside its view frame: left edge from its twips, top from
// its row (255 twips = 17 px a row).
QPoint cell_pos(int left_twips, int row) { return {twips_to_px(left_twips), row * 17}; }

TEST_F(MonitorTest, GridCellsSitAtTheirRowsAndLeftEdges) {
    open_monitor_window();
    auto pos = [&](const char* name) { return find<QLabel>(name)->pos(); };
    // Video Timing: horizontal values at 2650, the vertical ones of rows 4-10 at 4450.
    EXPECT_EQ(pos("lab_item_val_0"), cell_pos(2650, 0));
    EXPECT_EQ(pos("lab_item_val_13"), cell_pos(2650, 13));
    EXPECT_EQ(pos("lab_item_val_14"), cell_pos(4450, 4));
    EXPECT_EQ(pos("lab_item_val_20"), cell_pos(4450, 10));
    // Audio Timing: 1350 for rows 0-7, 2700 below.
    EXPECT_EQ(pos("lab_item_val_a_7"), cell_pos(1350, 7));
    EXPECT_EQ(pos("lab_item_val_a_8"), cell_pos(2700, 8));
    // Packet: the second caption label starts at row 15.
    EXPECT_EQ(pos("lab_item_val_p_5"), cell_pos(3650, 5));
    EXPECT_EQ(pos("lab_item_val_p_6"), cell_pos(1350, 6));
    EXPECT_EQ(pos("lab_item_val_p_7"), cell_pos(3100, 7));
    EXPECT_EQ(pos("lab_item_val_p_15"), cell_pos(3250, 15));
    EXPECT_EQ(pos("lab_item_val_p_25"), cell_pos(4850, 25));
    EXPECT_EQ(pos("lab_item_packet2").y(), 15 * 17);
    // HDCP & SCDC: each caption beside its cell, rows going down.
    for (int n = 0; n < 10; ++n) {
        const QByteArray cap = QStringLiteral("lab_item_h_%1").arg(n).toLatin1();
        const QByteArray cell = QStringLiteral("lab_item_val_h_%1").arg(n).toLatin1();
        EXPECT_EQ(pos(cap.constData()).y(), pos(cell.constData()).y()) << n;
        if (n > 0) {
            const QByteArray above = QStringLiteral("lab_item_h_%1").arg(n - 1).toLatin1();
            EXPECT_GT(pos(cap.constData()).y(), pos(above.constData()).y()) << n;
        }
    }
}

TEST_F(MonitorTest, NoRowCaptionRunsIntoItsCell) {
    // Each row's ">" must end before the cell on that row begins, and its unit
    // text ("kHz", "pixel", ...) after the cell's left edge, or values would
    // be drawn over the captions.
    open_monitor_window();
    for (int view : {1, 2, 3}) {
        const GridView& g = grid_view(view);
        for (std::size_t n = 0; n < g.cells.size(); ++n) {
            const CellPlace& c = g.cells[n];
            auto* caption = window->findChild<RowCaptionLabel*>(q(std::string(c.caption_label)));
            ASSERT_NE(caption, nullptr);
            const std::vector<std::string_view> rows = row_captions(c.caption_label);
            const int first_row = caption->y() / caption->row_pitch();
            const std::string row(rows.at(static_cast<std::size_t>(c.row - first_row)));
            auto* cell =
                window->findChild<QLabel*>(q(cell_name(g.cell_array, static_cast<int>(n))));
            const int marker_end = static_cast<int>(row.find('>') + 1) * caption->char_pitch();
            // One pixel of slack: the longest packet caption ends on its cell's edge.
            EXPECT_LE(marker_end, cell->x() + 1) << view << " cell " << n << " '" << row << "'";
            // A value of seven characters ("3712500", "1125000") ends before
            // the unit after the cell.
            const std::size_t unit_col = row.find_first_not_of(
                ' ', static_cast<std::size_t>((cell->x() + caption->char_pitch() - 1) /
                                              caption->char_pitch()));
            if (unit_col == std::string::npos) continue;
            const int value_end = cell->x() + cell->fontMetrics().horizontalAdvance("8888888");
            EXPECT_LT(value_end, static_cast<int>(unit_col) * caption->char_pitch())
                << view << " cell " << n << " '" << row << "'";
        }
    }
}

TEST_F(MonitorTest, OpeningTheTabLaysOutTheViewAndWithoutLinkPollsNothing) {
    MainWindow& w = open_monitor_window();
    click_tab(tab_monitor);
    EXPECT_TRUE(find<QFrame>("fra_monitor_0")->isVisible());
    for (int v = 1; v < 5; ++v)
        EXPECT_FALSE(find<QFrame>(QStringLiteral("fra_monitor_%1").arg(v).toLatin1().constData())
                         ->isVisible());
    EXPECT_FALSE(find<QPlainTextEdit>("txt_monitor_report")->isVisible());
    EXPECT_FALSE(find<QPushButton>("cmd_monitor_save")->isVisible());
    EXPECT_TRUE(find<QGroupBox>("fra_mon_type")->isEnabled());
    EXPECT_FALSE(w.tim_monitor().isActive());
    EXPECT_TRUE(w.state().poll_list.empty());  // task mode not read yet
    for (const char* l : {"lab_source_gcp", "lab_source_avi", "lab_source_aif", "lab_source_drmi",
                          "lab_source_vsi"})
        EXPECT_EQ(colour(l), 0x909090u) << l;
    EXPECT_EQ(text("lab_source_drmi"), "HDR");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MonitorTest, HdcpViewBeforeIdentificationSaysUnit) {
    open_monitor_window();
    click_tab(tab_monitor);
    find<QRadioButton>("opt_mon_type_4")->click();
    EXPECT_EQ(tab->view(), view_hdcp_scdc);
    EXPECT_TRUE(find<QFrame>("fra_monitor_4")->isVisible());
    EXPECT_FALSE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_EQ(text("lab_title_hdcp_scdc"), "Source HDCP && SCDC");
    EXPECT_EQ(text("lab_item_h_0"), "Source Tx HDCP");
    EXPECT_EQ(text("lab_item_h_2"), "Unit Rx HDCP Port");
    EXPECT_EQ(text("lab_item_h_9"), "Unit Rx SCDC Scramble Status");
}

TEST_F(MonitorTest, ViewChosenOnAnotherTabIsLaidOutWhenTheTabOpens) {
    open_monitor_window();
    click_tab(tab_monitor);
    click_tab(tab_edid);
    tab->opt_mon_type_Click(view_packet);
    EXPECT_EQ(tab->view(), view_packet);
    // Nothing on the (hidden) Monitor page changed yet.
    EXPECT_FALSE(find<QFrame>("fra_monitor_3")->isVisibleTo(tab));
    EXPECT_TRUE(find<QFrame>("fra_monitor_0")->isVisibleTo(tab));
    EXPECT_EQ(text("lab_item_packet1"), "");
    click_tab(tab_monitor);
    EXPECT_TRUE(find<QFrame>("fra_monitor_3")->isVisible());
    EXPECT_FALSE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_EQ(text("lab_item_packet1").substr(0, 18), "GCP AVMute      >\n");
    EXPECT_TRUE(find<QRadioButton>("opt_mon_type_3")->isChecked());
}

TEST_F(MonitorTest, ClearButtonEmptiesTheMessageBox) {
    open_monitor_window();
    click_tab(tab_monitor);
    auto* msg = find<QPlainTextEdit>("txt_msg");
    msg->setPlainText("unit said something");
    find<QPushButton>("cmd_msg_clear")->click();
    EXPECT_TRUE(msg->toPlainText().isEmpty());
}

TEST_F(MonitorTest, ReportWithNothingTickedDoesNothing) {
    MainWindow& w = open_monitor_window();
    click_tab(tab_monitor);
    find<QPushButton>("cmd_monitor_report")->click();
    EXPECT_TRUE(find<QFrame>("fra_monitor_0")->isVisible());
    EXPECT_TRUE(find<QGroupBox>("fra_mon_type")->isEnabled());
    EXPECT_EQ(w.state().pending_action, none_pending);
    EXPECT_EQ(w.link().cmdrx_status, ReplyStatus::NotSent);
}

TEST_F(MonitorTest, PageRemovedBeforeTheWindowUnregisters) {
    MainWindow& w = open_monitor_window();
    ASSERT_TRUE(w.poll_allowed);
    delete tab;
    tab = nullptr;
    EXPECT_FALSE(w.poll_allowed);
    // The tab still opens, with nothing to lay out.
    click_tab(tab_monitor);
    EXPECT_EQ(w.state().current_tab, tab_monitor);
}

}  // namespace
}  // namespace t27::testing
