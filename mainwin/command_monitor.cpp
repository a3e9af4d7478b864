#include "mainwin/command_monitor.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "common/colours.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr int monitor_width_px = 480;
constexpr int monitor_height_px = 520;

// The tabs that poll the unit: typing requests there would fight the poll.
bool polling_tab(int tab) { return tab == 4 || tab == 5; }

std::string trim_blanks(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The log breaks its lines with CR LF after each "<LF>"; a received CR is
// always written out as "<CR>", so every CR left in the text is part of a
// line break and the view needs only the LF.
QString display_text(const std::string& log, std::size_t from) {
    std::string out;
    out.reserve(log.size() - from);
    for (std::size_t i = from; i < log.size(); ++i)
        if (log[i] != '\r') out += log[i];
    return to_qt(out);
}

}  // namespace

CommandMonitor::CommandMonitor(Engine& engine, MainState& state, Pump& pump, QWidget* main_window)
    : QWidget(main_window, Qt::Tool),
      engine_(engine),
      state_(state),
      pump_(pump),
      main_window_(main_window) {
    setObjectName("frm_monitor_cmd");
    setWindowTitle(QStringLiteral("Command Monitor"));
    setAttribute(Qt::WA_DeleteOnClose);
    build_controls();
    resize(monitor_width_px, monitor_height_px);

    open_ = true;
    if (main_window_) place_beside(main_window_);
    txt_tx_str_->clear();
    show_log(engine_.link().monitor_log);
    monitor_pause_set();
}

void CommandMonitor::build_controls() {
    rtxt_monitor_ = new QPlainTextEdit(this);
    rtxt_monitor_->setObjectName("rtxt_monitor");
    rtxt_monitor_->setReadOnly(true);
    rtxt_monitor_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
    rtxt_monitor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    txt_tx_str_ = new QLineEdit(this);
    txt_tx_str_->setObjectName("txt_tx_str");
    cmd_tx_str_ = new QPushButton(QStringLiteral("SEND"), this);
    cmd_tx_str_->setObjectName("cmd_tx_str");
    cmd_pause_ = new QPushButton(QStringLiteral("START"), this);
    cmd_pause_->setObjectName("cmd_pause");
    cmd_clear_ = new QPushButton(QStringLiteral("CLEAR"), this);
    cmd_clear_->setObjectName("cmd_clear");

    auto* row = new QHBoxLayout;
    row->addWidget(txt_tx_str_, 1);
    row->addWidget(cmd_tx_str_);
    row->addWidget(cmd_pause_);
    row->addStretch(0);
    row->addWidget(cmd_clear_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(rtxt_monitor_, 1);
    column->addLayout(row);

    connect(cmd_tx_str_, &QPushButton::clicked, this, [this] { cmd_tx_str_Click(); });
    connect(txt_tx_str_, &QLineEdit::returnPressed, this, [this] { cmd_tx_str_Click(); });
    connect(cmd_pause_, &QPushButton::clicked, this, [this] { cmd_pause_Click(); });
    connect(cmd_clear_, &QPushButton::clicked, this, [this] { cmd_clear_Click(); });
}

void CommandMonitor::place_beside(QWidget* main) {
    if (!main) return;
    const QRect m = main->frameGeometry();
    const QRect me = frameGeometry();
    QPoint at(m.left() - me.width(), m.bottom() + 1 - me.height());
    // A main window at the screen's left edge would push the monitor out of
    // sight; it then overlaps the main window instead.
    if (QScreen* screen = main->screen()) {
        const QRect avail = screen->availableGeometry();
        at.setX(std::max(at.x(), avail.left()));
        at.setY(std::max(at.y(), avail.top()));
    }
    move(at);
}

void CommandMonitor::set_pause_colour(Colour c) {
    QPalette p = cmd_pause_->palette();
    p.setColor(QPalette::Button, to_qcolor(c));
    cmd_pause_->setPalette(p);
    cmd_pause_->setAutoFillBackground(true);
    cmd_pause_->setProperty("t27_colour", static_cast<uint>(c));
    cmd_pause_->setStyleSheet(QStringLiteral("background-color: %1;").arg(to_qcolor(c).name()));
}

void CommandMonitor::monitor_pause_set() {
    LinkState& link = engine_.link();
    if (!open_) {
        link.monitor_on = false;
        return;
    }
    if (polling_tab(state_.current_tab)) {
        // The caption names the state logging is in, not what a click does.
        if (monitor_paused_) {
            cmd_pause_->setText(QStringLiteral("PAUSE"));
            set_pause_colour(colour::pause_red);
            link.monitor_on = false;
        } else {
            cmd_pause_->setText(QStringLiteral("START"));
            set_pause_colour(colour::bright_green);
            link.monitor_on = true;
        }
        cmd_pause_->setVisible(true);
        cmd_tx_str_->setVisible(false);
        txt_tx_str_->setVisible(false);
    } else {
        set_pause_colour(colour::light_grey);
        cmd_pause_->setVisible(false);
        cmd_tx_str_->setVisible(true);
        txt_tx_str_->setVisible(true);
        link.monitor_on = true;
    }
}

void CommandMonitor::cmd_pause_Click() {
    monitor_paused_ = !monitor_paused_;
    monitor_pause_set();
    if (main_window_) {
        const QString name = QStringLiteral("cmd_main_%1").arg(state_.current_tab);
        if (auto* tab = main_window_->findChild<QWidget*>(name)) tab->setFocus();
    }
}

void CommandMonitor::cmd_clear_Click() {
    rtxt_monitor_->clear();
    shown_.clear();
    engine_.link().monitor_log.clear();
}

void CommandMonitor::cmd_tx_str_Click() {
    Engine& engine = engine_;
    Pump& pump = pump_;
    LinkState& link = engine.link();
    // Not deferred: a typed line is only worth sending when the user sees
    // the answer to it now.
    if (link.cmdtx_busy || state_.poll_busy) return;

    std::string text, why;
    if (!unit_text_from_utf8(trim_blanks(txt_tx_str_->text().toStdString()), text, why,
                             "The line")) {
        engine.view().show_message(why, MessageIcon::Warning);
        return;
    }
    txt_tx_str_->setText(to_qt(text));
    link.eot_reply = starts_with(text, "$?") || starts_with(text, "$help");

    // The window may be closed, and deleted, while the transaction waits:
    // from here on only the engine and the pump are used.
    engine.cmdtx_str(text + "\r");
    // A help list that never ended with EOT must not leave every later
    // request waiting for one.
    link.eot_reply = false;
    wait_seconds(pump, 0.5);
}

void CommandMonitor::log_changed(const std::string& log) { show_log(log); }

void CommandMonitor::log_cleared() {
    rtxt_monitor_->clear();
    shown_.clear();
}

void CommandMonitor::show_log(const std::string& log) {
    const bool appended = !shown_.empty() && log.size() >= shown_.size() &&
                          log.compare(0, shown_.size(), shown_) == 0;
    QTextCursor end = rtxt_monitor_->textCursor();
    if (appended) {
        end.movePosition(QTextCursor::End);
        end.insertText(display_text(log, shown_.size()));
    } else {
        rtxt_monitor_->setPlainText(display_text(log, 0));
    }
    shown_ = log;
    end = rtxt_monitor_->textCursor();
    end.movePosition(QTextCursor::End);
    rtxt_monitor_->setTextCursor(end);
    rtxt_monitor_->ensureCursorVisible();
}

void CommandMonitor::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Only now does the window have its frame, whose size the placement needs.
    if (!e->spontaneous() && main_window_) place_beside(main_window_);
}

void CommandMonitor::closeEvent(QCloseEvent* e) {
    open_ = false;
    engine_.link().monitor_on = false;
    emit closed();
    QWidget::closeEvent(e);
}

}  // namespace t27
