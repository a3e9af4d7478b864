#include "analyser/ui/source_check_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMetaObject>
#include <QVBoxLayout>

#include "analyser/ui/report_save.h"
#include "common/colours.h"
#include "common/file_names.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "mainwin/main_window.h"

namespace t27 {

namespace {

constexpr const char* save_title = "Save Source Check";
constexpr const char* save_filter = "*.txt (*.txt)";

enum Column { col_rule, col_verdict, col_source, col_edid, col_clause, col_count };

Colour verdict_colour(Verdict v) {
    switch (v) {
        case Verdict::pass:
            return colour::green;
        case Verdict::fail:
            return colour::red;
        case Verdict::not_applicable:
            break;
    }
    return colour::grey;
}

QTableWidgetItem* cell(const std::string& text) {
    auto* i = new QTableWidgetItem(to_qt(text));
    i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return i;
}

}  // namespace

SourceCheckWindow::SourceCheckWindow(Dialogs& dialogs, std::string folder, QWidget* owner)
    : QWidget(owner, Qt::Window), dialogs_(dialogs), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("frm_source_check"));
    setWindowTitle(QStringLiteral("Source Check"));
    resize(1180, 540);

    lab_check_edid_ = new QLabel(QStringLiteral("EDID: not read"), this);
    lab_check_edid_->setObjectName(QStringLiteral("lab_check_edid"));
    lab_check_edid_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lstv_check_ = new QTableWidget(0, col_count, this);
    lstv_check_->setObjectName(QStringLiteral("lstv_check"));
    lstv_check_->setHorizontalHeaderLabels({QStringLiteral("Rule"), QStringLiteral("Verdict"),
                                            QStringLiteral("Source"), QStringLiteral("EDID"),
                                            QStringLiteral("Clause")});
    lstv_check_->verticalHeader()->hide();
    lstv_check_->verticalHeader()->setDefaultSectionSize(26);
    lstv_check_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstv_check_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstv_check_->horizontalHeader()->setStretchLastSection(true);

    lab_check_total_ = new QLabel(this);
    lab_check_total_->setObjectName(QStringLiteral("lab_check_total"));
    cmd_check_edid_read_ = new QPushButton(QStringLiteral("Read Rx EDID"), this);
    cmd_check_edid_read_->setObjectName(QStringLiteral("cmd_check_edid_read"));
    connect(cmd_check_edid_read_, &QPushButton::clicked, this, [this] {
        if (on_edid_read) on_edid_read();
    });
    cmd_check_edid_file_ = new QPushButton(QStringLiteral("EDID File..."), this);
    cmd_check_edid_file_->setObjectName(QStringLiteral("cmd_check_edid_file"));
    connect(cmd_check_edid_file_, &QPushButton::clicked, this,
            [this] { cmd_check_edid_file_Click(); });
    cmd_check_save_ = new QPushButton(QStringLiteral("Save as text"), this);
    cmd_check_save_->setObjectName(QStringLiteral("cmd_check_save"));
    connect(cmd_check_save_, &QPushButton::clicked, this, [this] { cmd_check_save_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lab_check_total_, 1);
    buttons->addWidget(cmd_check_edid_read_);
    buttons->addWidget(cmd_check_edid_file_);
    buttons->addWidget(cmd_check_save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lab_check_edid_);
    layout->addWidget(lstv_check_, 1);
    layout->addLayout(buttons);
    show_rows();
}

void SourceCheckWindow::set_edid(SourceCheckEdid edid) {
    edid_ = std::move(edid);
    caps_ = edid_.model ? sink_caps(*edid_.model) : SinkCaps{};
    lab_check_edid_->setText(
        to_qt("EDID: " + (edid_.model ? edid_.origin : "none (" + edid_.why + ")")));
    // Verdicts against another EDID wait for the next cycle's signal.
    rows_.clear();
    show_rows();
}

void SourceCheckWindow::cycle_end() {
    if (!edid_.model) return;
    rows_ = source_check_run(signal_facts(signal_), caps_);
    show_rows();
}

void SourceCheckWindow::show_rows() {
    const std::vector<SourceRule>& rules = source_rules();
    lstv_check_->setRowCount(static_cast<int>(rules.size()));
    for (int r = 0; r < static_cast<int>(rules.size()); ++r) {
        const SourceRule& rule = rules[static_cast<std::size_t>(r)];
        const SourceCheckRow* row =
            r < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(r)] : nullptr;
        lstv_check_->setItem(r, col_rule, cell(rule.name));
        QTableWidgetItem* v = cell(row ? verdict_text(row->result.verdict) : "");
        if (row) {
            v->setBackground(to_qcolor(verdict_colour(row->result.verdict)));
            v->setForeground(Qt::white);
            v->setTextAlignment(Qt::AlignCenter);
        }
        lstv_check_->setItem(r, col_verdict, v);
        lstv_check_->setItem(r, col_source, cell(row ? row->result.source : ""));
        lstv_check_->setItem(r, col_edid, cell(row ? row->result.edid : ""));
        lstv_check_->setItem(r, col_clause, cell(rule.clause));
    }
    lstv_check_->resizeColumnsToContents();
    if (rows_.empty()) {
        lab_check_total_->setText(edid_.model ? QStringLiteral("Waiting for a poll cycle")
                                              : QStringLiteral("No EDID to check against"));
        return;
    }
    int pass = 0, fail = 0;
    for (const SourceCheckRow& r : rows_) {
        pass += r.result.verdict == Verdict::pass;
        fail += r.result.verdict == Verdict::fail;
    }
    lab_check_total_->setText(QStringLiteral("%1 PASS, %2 FAIL, %3 n.a.")
                                  .arg(pass)
                                  .arg(fail)
                                  .arg(static_cast<int>(rows_.size()) - pass - fail));
}

void SourceCheckWindow::cmd_check_save_Click() {
    if (rows_.empty()) return;
    const TextSave text{save_title, save_filter,
                        [](const std::string& chosen) { return with_extension(chosen, ".txt"); }};
    std::string why;
    if (save_text_file(dialogs_, folder_, text, source_check_text(rows_, edid_.origin, true), {},
                       &why)
            .result == ReportSaveResult::WriteFailed)
        dialogs_.message("The source check could not be saved: " + why, MessageIcon::Warning);
}

void SourceCheckWindow::cmd_check_edid_file_Click() {
    const std::string path =
        dialogs_.open_file("EDID File", folder_,
                           "EDID (*.hex *.bin *.ddc);;*.hex (*.hex);;*.bin (*.bin);;*.ddc (*.ddc)");
    if (path.empty()) return;
    SourceCheckEdid e = source_check_edid_file(path);
    if (!e.model) {
        dialogs_.message("The EDID could not be read: " + e.why, MessageIcon::Warning);
        return;
    }
    set_edid(std::move(e));
}

// Not a hide event: the window is also hidden while the main window is torn
// down, when the tab must not be asked anything.
void SourceCheckWindow::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (on_closed)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (on_closed) on_closed();
            },
            Qt::QueuedConnection);
}

// ---- the Monitor tab's side ---------------------------------------------------------

SourceCheckFeed::SourceCheckFeed(MainWindow& window, QWidget* tab, const QRect& geometry,
                                 std::function<void()> poll_changed)
    : QObject(tab), window_(window), poll_changed_(std::move(poll_changed)) {
    cmd_check_ = new QPushButton(QStringLiteral("CHECK"), tab);
    cmd_check_->setObjectName(QStringLiteral("cmd_check"));
    cmd_check_->setToolTip(
        QStringLiteral("Hold the source's signal against the EDID the unit presents to it"));
    cmd_check_->setGeometry(geometry);
    connect(cmd_check_, &QPushButton::clicked, this, [this] { cmd_check_Click(); });
}

SourceCheckFeed::~SourceCheckFeed() { delete check_window_.data(); }

bool SourceCheckFeed::active() const { return check_window_ && check_window_->isVisible(); }

void SourceCheckFeed::feed(int index, const PollReply& reply, bool cycle_end) {
    if (!active()) return;
    check_window_->take(index, reply);
    if (cycle_end) check_window_->cycle_end();
}

void SourceCheckFeed::cmd_check_Click() {
    if (!check_window_) {
        check_window_ =
            new SourceCheckWindow(window_.dialogs(), from_qt(window_.documents_dir()), &window_);
        check_window_->on_edid_read = [this] { edid_read(); };
        check_window_->on_closed = [this] {
            if (poll_changed_) poll_changed_();
        };
    }
    check_window_->show();
    check_window_->raise();
    check_window_->activateWindow();
    if (poll_changed_) poll_changed_();
    edid_read();
}

void SourceCheckFeed::edid_read() {
    if (!check_window_ || window_.defer(pending_source_check)) return;
    if (!window_.transport_open() || window_.unit().model_family == not_known) {
        check_window_->set_edid({std::nullopt, {}, "no unit linked"});
        return;
    }
    cmd_check_->setEnabled(false);
    SourceCheckEdid e = source_check_edid_unit(window_.engine());
    cmd_check_->setEnabled(true);
    if (check_window_) check_window_->set_edid(std::move(e));
}

}  // namespace t27
