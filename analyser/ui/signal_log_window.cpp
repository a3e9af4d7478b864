#include "analyser/ui/signal_log_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "analyser/ui/report_save.h"
#include "analyser/signal_items.h"
#include "common/file_names.h"
#include "common/local_time.h"
#include "common/qt/qt_text.h"
#include "mainwin/main_window.h"

namespace t27 {

namespace {

constexpr const char* save_title = "Save Signal Log";
constexpr const char* save_filter = "*.csv (*.csv)";
constexpr const char* column_titles[] = {"Time", "Item", "Old", "New"};

}  // namespace

SignalChange dropout_row(const Dropout& d) {
    return {d.start_ms, dropout_item, d.lost ? "signal lost" : "signal changed",
            std::to_string(d.ms()) + " ms, back at " + local_time_text(d.end_ms)};
}

// ---- the table --------------------------------------------------------------------

int SignalLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(log_.changes().size());
}

int SignalLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant SignalLogModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const SignalChange& c = log_.changes()[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0:
            return to_qt(local_time_text(c.time_ms));
        case 1:
            return to_qt(c.item);
        case 2:
            return to_qt(c.old_value);
        default:
            return to_qt(c.new_value);
    }
}

QVariant SignalLogModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole || o != Qt::Horizontal || section < 0 || section > 3) return {};
    return QString::fromLatin1(column_titles[section]);
}

void SignalLogModel::add(const SignalChange& change) {
    if (log_.full() && !log_.changes().empty()) {
        beginRemoveRows({}, 0, 0);
        log_.drop_oldest();
        endRemoveRows();
    }
    const int row = rowCount();
    beginInsertRows({}, row, row);
    log_.add(change);
    endInsertRows();
}

void SignalLogModel::clear() {
    beginResetModel();
    log_.clear();
    endResetModel();
}

// ---- the window -------------------------------------------------------------------

SignalLogWindow::SignalLogWindow(SignalLog& log, Dialogs& dialogs, std::string folder,
                                 QWidget* owner)
    : QWidget(owner, Qt::Window), log_(log), dialogs_(dialogs), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("frm_signal_log"));
    setWindowTitle(QStringLiteral("Signal Log"));
    resize(1000, 520);

    model_ = new SignalLogModel(log_, this);
    lstv_signal_log_ = new QTableView(this);
    lstv_signal_log_->setObjectName(QStringLiteral("lstv_signal_log"));
    lstv_signal_log_->setModel(model_);
    lstv_signal_log_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstv_signal_log_->verticalHeader()->hide();
    // Rows of one height let a view of 100,000 changes scroll without
    // measuring each row.
    lstv_signal_log_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstv_signal_log_->verticalHeader()->setDefaultSectionSize(20);
    lstv_signal_log_->horizontalHeader()->setStretchLastSection(true);
    lstv_signal_log_->setColumnWidth(0, 175);
    lstv_signal_log_->setColumnWidth(1, 190);
    lstv_signal_log_->setColumnWidth(2, 170);

    lstv_signal_count_ = new QTableWidget(0, 2, this);
    lstv_signal_count_->setObjectName(QStringLiteral("lstv_signal_count"));
    lstv_signal_count_->setHorizontalHeaderLabels(
        {QStringLiteral("Item"), QStringLiteral("Changes")});
    lstv_signal_count_->verticalHeader()->hide();
    lstv_signal_count_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstv_signal_count_->horizontalHeader()->setStretchLastSection(true);
    lstv_signal_count_->setColumnWidth(0, 170);
    lstv_signal_count_->verticalHeader()->setDefaultSectionSize(20);

    auto* split = new QSplitter(this);
    split->addWidget(lstv_signal_log_);
    split->addWidget(lstv_signal_count_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({730, 250});

    lab_signal_log_total_ = new QLabel(this);
    lab_signal_log_total_->setObjectName(QStringLiteral("lab_signal_log_total"));
    cmd_signal_log_clear_ = new QPushButton(QStringLiteral("Clear"), this);
    cmd_signal_log_clear_->setObjectName(QStringLiteral("cmd_signal_log_clear"));
    cmd_signal_log_save_ = new QPushButton(QStringLiteral("Save as CSV"), this);
    cmd_signal_log_save_->setObjectName(QStringLiteral("cmd_signal_log_save"));
    connect(cmd_signal_log_clear_, &QPushButton::clicked, this,
            [this] { cmd_signal_log_clear_Click(); });
    connect(cmd_signal_log_save_, &QPushButton::clicked, this,
            [this] { cmd_signal_log_save_Click(); });

    chk_signal_log_hunt_ = new QCheckBox(QStringLiteral("Hunt dropouts"), this);
    chk_signal_log_hunt_->setObjectName(QStringLiteral("chk_signal_log_hunt"));
    chk_signal_log_hunt_->setToolTip(
        QStringLiteral("Poll 5 V, clock, sync and resolution between every other request and "
                       "log each dropout as one row"));
    connect(chk_signal_log_hunt_, &QCheckBox::clicked, this,
            [this] { chk_signal_log_hunt_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lab_signal_log_total_, 1);
    buttons->addWidget(chk_signal_log_hunt_);
    buttons->addWidget(cmd_signal_log_clear_);
    buttons->addWidget(cmd_signal_log_save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    show_counts();
}

void SignalLogWindow::add(const std::vector<SignalChange>& changes) {
    if (changes.empty()) return;
    QScrollBar* bar = lstv_signal_log_->verticalScrollBar();
    // Follow the newest change unless the user scrolled back to read.
    const bool at_end = bar->value() >= bar->maximum();
    for (const SignalChange& c : changes) model_->add(c);
    if (at_end) lstv_signal_log_->scrollToBottom();
    // A closed window is only hidden and still fed on every poll tick; its
    // counts are drawn again when it is shown.
    if (isVisible()) show_counts();
}

void SignalLogWindow::showEvent(QShowEvent* e) {
    show_counts();
    QWidget::showEvent(e);
}

void SignalLogWindow::show_counts() {
    const auto& counts = log_.counts();
    lstv_signal_count_->setRowCount(static_cast<int>(counts.size()));
    int row = 0;
    for (const auto& [item, n] : counts) {
        lstv_signal_count_->setItem(row, 0, new QTableWidgetItem(to_qt(item)));
        lstv_signal_count_->setItem(row, 1, new QTableWidgetItem(QString::number(n)));
        ++row;
    }
    lab_signal_log_total_->setText(
        QStringLiteral("%1 changes, %2 kept").arg(log_.total()).arg(log_.changes().size()));
}

void SignalLogWindow::chk_signal_log_hunt_Click() {
    if (hunt_set) hunt_set(chk_signal_log_hunt_->isChecked());
}

void SignalLogWindow::set_hunt_shown(bool on) { chk_signal_log_hunt_->setChecked(on); }

void SignalLogWindow::cmd_signal_log_clear_Click() {
    model_->clear();
    show_counts();
}

void SignalLogWindow::cmd_signal_log_save_Click() {
    const TextSave csv{save_title, save_filter,
                       [](const std::string& chosen) { return with_extension(chosen, ".csv"); }};
    std::string why;
    if (save_text_file(dialogs_, folder_, csv, signal_log_csv(log_), {}, &why).result ==
        ReportSaveResult::WriteFailed)
        dialogs_.message("The signal log could not be saved: " + why, MessageIcon::Warning);
}

// ---- the Monitor tab's side ---------------------------------------------------------

SignalLogFeed::SignalLogFeed(MainWindow& window, QWidget* tab, const QRect& geometry)
    : QObject(tab), window_(window) {
    cmd_signal_log_ = new QPushButton(QStringLiteral("Signal Log"), tab);
    cmd_signal_log_->setObjectName(QStringLiteral("cmd_signal_log"));
    cmd_signal_log_->setGeometry(geometry);
    connect(cmd_signal_log_, &QPushButton::clicked, this, [this] { cmd_signal_log_Click(); });
}

SignalLogFeed::~SignalLogFeed() { delete log_window_.data(); }

void SignalLogFeed::feed(int view, int index, const PollReply& reply,
                         const DisplayUpdates& updates) {
    const UnitIdentity& u = window_.unit();
    ItemsFor& c = items_;
    if (c.view != view || c.task_mode != u.task_mode || c.model_family != u.model_family ||
        c.model != u.linked_model) {
        c = {view, u.task_mode, u.model_family, u.linked_model,
             signal_items(view, u.task_mode, u.model_family, u.linked_model)};
    }
    const std::int64_t now = wall_clock_ms();
    std::vector<SignalChange> rows;
    if (hunt_) {
        if (const std::optional<Dropout> d = dropouts_.read(index, reply, now))
            rows.push_back(dropout_row(*d));
    }
    // What is read while the signal is gone belongs to no signal.
    if (!hunt_ || !dropouts_.in_dropout()) {
        SignalWatch::Seen seen = watch_.observe(index, reply, c.items, updates, now);
        for (SignalChange& change : seen.changes) rows.push_back(std::move(change));
    }
    if (rows.empty()) return;
    if (log_window_) {
        log_window_->add(rows);
    } else {
        for (const SignalChange& change : rows) log_.add(change);
    }
}

void SignalLogFeed::set_hunting(bool on) {
    if (on == hunt_) return;
    hunt_ = on;
    // A fresh hunt takes the signal it first reads as the one to hunt for.
    dropouts_ = DropoutDetector{};
    if (log_window_) log_window_->set_hunt_shown(on);
    if (hunt_changed) hunt_changed();
}

void SignalLogFeed::cmd_signal_log_Click() {
    if (!log_window_) {
        log_window_ = new SignalLogWindow(log_, window_.dialogs(), from_qt(window_.documents_dir()),
                                          &window_);
        log_window_->set_hunt_shown(hunt_);
        log_window_->hunt_set = [this](bool on) { set_hunting(on); };
    }
    log_window_->show();
    log_window_->raise();
    log_window_->activateWindow();
}

}  // namespace t27
