#include "edid/ui/analysis_frame.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>

#include "common/atomic_write.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_widgets.h"
#include "edid/analysis_report.h"
#include "edid/analysis_tree.h"
#include "common/file_names.h"
#include "edid/unit/window_text.h"
#include "mainwin/main_window.h"

namespace t27 {

namespace {

constexpr int key_role = Qt::UserRole;

std::string caption_of(MainWindow& w, const char* label) {
    const QLabel* l = w.findChild<QLabel*>(QString::fromLatin1(label));
    return l ? from_qt(l->text()) : std::string();
}

}  // namespace

AnalysisFrame::AnalysisFrame(QWidget* parent, MainWindow& window, const EdidBuffer& working)
    : QGroupBox(QStringLiteral("Analyse"), parent), window_(window), working_(working) {
    setObjectName(QStringLiteral("fra_edid_analyse"));
    setAutoFillBackground(true);
    tree_edid_ = make_widget<QTreeWidget>(this, QStringLiteral("tree_edid"),
                                          twips_rect(120, 300, 4200, 4500));
    tree_edid_->setHeaderHidden(true);
    connect(tree_edid_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        for (std::size_t i = 0; i < nodes_.size(); ++i)
            if (nodes_[i] == item) tree_edid_NodeClick(static_cast<int>(i) + 1);
    });
    txt_edid_ana_ = make_widget<QPlainTextEdit>(this, QStringLiteral("txt_edid_ana"),
                                                twips_rect(4440, 300, 6600, 4500));
    txt_edid_ana_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(9);
    txt_edid_ana_->setFont(f);
    auto* save =
        make_widget<QPushButton>(this, QStringLiteral("cmd_edid_save_report"),
                                 twips_rect(4440, 4920, 1500, 400), QStringLiteral("Save Report"));
    connect(save, &QPushButton::clicked, this, [this] { cmd_edid_save_report_Click(); });
    auto* exit =
        make_widget<QPushButton>(this, QStringLiteral("cmd_edid_exit"),
                                 twips_rect(9540, 4920, 1500, 400), QStringLiteral("EXIT"));
    connect(exit, &QPushButton::clicked, this, [this] { cmd_edid_exit_Click(); });
}

QTreeWidgetItem* AnalysisFrame::node(int index) const {
    if (index < 1 || index > static_cast<int>(nodes_.size())) return nullptr;
    return nodes_[static_cast<std::size_t>(index - 1)];
}

void AnalysisFrame::build_tree() {
    bold_index_ = edid_tree_summary_node;
    tree_edid_->clear();
    nodes_.clear();
    for (const EdidTreeNode& n : edid_tree_nodes(working_)) {
        QTreeWidgetItem* parent = node(n.parent);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_edid_);
        item->setText(0, to_qt(n.caption));
        item->setData(0, key_role, to_qt(n.key));
        nodes_.push_back(item);
    }
    for (const EdidTreeNode& n : edid_tree_nodes(working_))
        if (n.expanded) node(n.index)->setExpanded(true);
    tree_edid_NodeClick(edid_tree_summary_node);
}

void AnalysisFrame::tree_edid_NodeClick(int index) {
    QTreeWidgetItem* clicked = node(index);
    if (!clicked) return;
    auto set_bold = [](QTreeWidgetItem* item, bool on) {
        if (!item) return;
        QFont f = item->font(0);
        f.setBold(on);
        item->setFont(0, f);
    };
    set_bold(node(bold_index_), false);
    set_bold(clicked, true);
    if (clicked->data(0, key_role).toString() == QLatin1String(edid_tree_summary_key))
        txt_edid_ana_->setPlainText(to_qt(edid_box_text(edid_report_text(working_))));
    bold_index_ = index;
}

void AnalysisFrame::cmd_edid_save_report_Click() {
    const std::string report = edid_text_from_box(from_qt(txt_edid_ana_->toPlainText()));
    if (report.empty()) return;
    Dialogs& d = window_.dialogs();
    for (;;) {
        const std::string chosen =
            d.save_file("Save EDID Analysis Report", from_qt(window_.documents_dir()),
                        edid_dialog_filter(edid_report_filter));
        if (chosen.empty()) return;
        // The question names the file that will be written, extension and all.
        const std::string path = with_extension(chosen, ".txt");
        if (QFileInfo::exists(to_qt(path))) {
            const Answer a = d.question(path + " exists. Overwrite it ?", true);
            if (a == Answer::No) continue;
            if (a == Answer::Cancel) return;
        }
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale loc = QLocale::system();
        const std::string text = edid_report_file_text(
            report, from_qt(loc.toString(now.time(), QLocale::ShortFormat)),
            from_qt(loc.toString(now.date(), QLocale::ShortFormat)),
            caption_of(window_, "lab_model"), caption_of(window_, "lab_fw_ver"));
        std::string why;
        if (!write_file_atomically(path, text, &why)) d.message(why, MessageIcon::Error);
        return;
    }
}

}  // namespace t27
