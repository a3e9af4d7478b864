#include "analyser/ui/monitor_tab.h"

#include <algorithm>

#include "analyser/decode_reply.h"
#include "analyser/dropout_hunt.h"
#include "analyser/ui/label_updates.h"
#include "analyser/monitor_layout.h"
#include "analyser/poll_list.h"
#include "analyser/qt/report_clock.h"
#include "analyser/report_progress.h"
#include "analyser/report_query.h"
#include "analyser/ui/report_save.h"
#include "analyser/ui/signal_log_window.h"
#include "common/qt/qt_text.h"
#include "analyser/ui/source_check_window.h"

namespace t27 {

namespace {

// Left column: the view choice above the report sections.
constexpr int column_left = 120;
constexpr int column_width = 2160;
constexpr int option_pitch = 330;

// Below the report sections: the signal log's button, then CHECK.
constexpr int signal_log_top = 5280;
constexpr int check_top = 5760;

// Below the view area: the report buttons, then the message box.
constexpr int report_box_height = 6960;
constexpr int report_buttons_top = 7320;
constexpr int msg_top = 7860;

// Set when the tab frame starts deleting its children, i.e. when the window
// itself is being destroyed. Created as the frame's child before the page is
// put there, so the frame deletes it first.
class TeardownSentinel : public QObject {
  public:
    TeardownSentinel(std::shared_ptr<bool> alive, QObject* parent)
        : QObject(parent), alive_(std::move(alive)) {}
    ~TeardownSentinel() override { *alive_ = false; }

  private:
    std::shared_ptr<bool> alive_;
};

QString view_caption(int n) {
    return to_qt(std::string(view_option_captions[static_cast<std::size_t>(n)]));
}

}  // namespace

MonitorTab::MonitorTab(MainWindow& window)
    : QWidget(nullptr), window_(window), window_alive_(std::make_shared<bool>(true)) {
    QFrame* frame = window_.tab_frame(tab_monitor);
    auto* sentinel = new TeardownSentinel(window_alive_, frame);
    sentinel->setObjectName(QStringLiteral("monitor_tab_sentinel"));
    setParent(frame);
    setObjectName(QStringLiteral("monitor_tab"));
    setGeometry(frame->rect());
    build_controls();
    show();

    window_.set_page(tab_monitor, this);
    window_.set_pending_handler(pending_monitor_report, [this] { cmd_monitor_report_Click(); });
    window_.set_pending_handler(pending_source_check, [this] { source_check_->edid_read(); });
    // The poll timer re-arms only while the view choice is enabled: a report
    // on screen (or being built) keeps the poll stopped until EXIT.
    window_.poll_allowed = [this] { return fra_mon_type_->isEnabledTo(this); };
}

MonitorTab::~MonitorTab() {
    if (!*window_alive_) return;
    window_.set_page(tab_monitor, nullptr);
    window_.set_pending_handler(pending_monitor_report, nullptr);
    window_.set_pending_handler(pending_source_check, nullptr);
    window_.poll_allowed = nullptr;
    delete window_.tab_frame(tab_monitor)
        ->findChild<QObject*>(QStringLiteral("monitor_tab_sentinel"), Qt::FindDirectChildrenOnly);
}

void MonitorTab::build_controls() {
    views_ = build_monitor_views(this);

    fra_mon_type_ = new QGroupBox(QStringLiteral("Real-time Monitor"), this);
    fra_mon_type_->setObjectName(QStringLiteral("fra_mon_type"));
    fra_mon_type_->setGeometry(twips_rect(column_left, 240, column_width, 2040));
    opt_group_ = new QButtonGroup(this);
    for (int n = 0; n < analyser_view_count; ++n) {
        auto* o = new QRadioButton(view_caption(n), fra_mon_type_);
        o->setObjectName(QStringLiteral("opt_mon_type_%1").arg(n));
        o->setGeometry(twips_rect(150, 330 + n * option_pitch, column_width - 300, 300));
        opt_group_->addButton(o, n);
        opt_mon_type_[static_cast<std::size_t>(n)] = o;
    }
    opt_mon_type_[view_system]->setChecked(true);
    connect(opt_group_, &QButtonGroup::idClicked, this, [this](int id) { opt_mon_type_Click(id); });

    fra_mon_report_ = new QGroupBox(QStringLiteral("Monitor Report"), this);
    fra_mon_report_->setObjectName(QStringLiteral("fra_mon_report"));
    fra_mon_report_->setGeometry(twips_rect(column_left, 2460, column_width, 2700));
    for (int n = 0; n < analyser_view_count; ++n) {
        auto* c = new QCheckBox(view_caption(n), fra_mon_report_);
        c->setObjectName(QStringLiteral("chk_mon_report_%1").arg(n));
        c->setGeometry(twips_rect(150, 330 + n * option_pitch, column_width - 300, 300));
        chk_mon_report_[static_cast<std::size_t>(n)] = c;
    }
    cmd_monitor_report_ = new QPushButton(QStringLiteral("REPORT"), fra_mon_report_);
    cmd_monitor_report_->setObjectName(QStringLiteral("cmd_monitor_report"));
    cmd_monitor_report_->setGeometry(twips_rect(300, 2100, column_width - 600, 420));
    connect(cmd_monitor_report_, &QPushButton::clicked, this,
            [this] { cmd_monitor_report_Click(); });
    signal_log_ = new SignalLogFeed(
        window_, this, twips_rect(column_left + 300, signal_log_top, column_width - 600, 420));
    signal_log_->hunt_changed = [this] {
        if (window_.state().current_tab == tab_monitor && fra_mon_type_->isEnabled())
            window_.set_poll_list(poll_list());
    };
    source_check_ = new SourceCheckFeed(
        window_, this, twips_rect(column_left + 300, check_top, column_width - 600, 420), [this] {
            if (*window_alive_ && window_.state().current_tab == tab_monitor && !building_report_)
                window_.set_poll_list(poll_list());
        });

    // Made after the view frames so it lies above them.
    txt_monitor_report_ = new QPlainTextEdit(this);
    txt_monitor_report_->setObjectName(QStringLiteral("txt_monitor_report"));
    txt_monitor_report_->setReadOnly(true);  // SAVE writes the report, not the box
    txt_monitor_report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    courier.setPixelSize(13);
    txt_monitor_report_->setFont(courier);
    txt_monitor_report_->setGeometry(twips_rect(monitor_frame_left_twips, monitor_frame_top_twips,
                                                monitor_view_width_twips, report_box_height));
    txt_monitor_report_->hide();

    cmd_monitor_save_ = new QPushButton(QStringLiteral("SAVE"), this);
    cmd_monitor_save_->setObjectName(QStringLiteral("cmd_monitor_save"));
    cmd_monitor_save_->setGeometry(
        twips_rect(monitor_frame_left_twips, report_buttons_top, 1200, 400));
    cmd_monitor_save_->hide();
    connect(cmd_monitor_save_, &QPushButton::clicked, this, [this] { cmd_monitor_save_Click(); });

    cmd_monitor_exit_ = new QPushButton(QStringLiteral("EXIT"), this);
    cmd_monitor_exit_->setObjectName(QStringLiteral("cmd_monitor_exit"));
    cmd_monitor_exit_->setGeometry(
        twips_rect(monitor_frame_left_twips + 1320, report_buttons_top, 1200, 400));
    cmd_monitor_exit_->hide();
    connect(cmd_monitor_exit_, &QPushButton::clicked, this, [this] { cmd_monitor_exit_Click(); });

    lab_report_progress_ = new QLabel(this);
    lab_report_progress_->setObjectName(QStringLiteral("lab_report_progress"));
    lab_report_progress_->setGeometry(
        twips_rect(monitor_frame_left_twips + 600, 3000, monitor_view_width_twips - 1200, 300));
    lab_report_progress_->hide();
    prg_report_ = new QProgressBar(this);
    prg_report_->setObjectName(QStringLiteral("prg_report"));
    prg_report_->setRange(0, 1000);
    prg_report_->setTextVisible(false);
    prg_report_->setGeometry(
        twips_rect(monitor_frame_left_twips + 600, 3360, monitor_view_width_twips - 1200, 300));
    prg_report_->hide();

    txt_msg_ = new QPlainTextEdit(this);
    txt_msg_->setObjectName(QStringLiteral("txt_msg"));
    txt_msg_->setReadOnly(true);
    txt_msg_->setGeometry(twips_rect(column_left, msg_top, 10560, 1140));
    cmd_msg_clear_ = new QPushButton(QStringLiteral("C"), this);
    cmd_msg_clear_->setObjectName(QStringLiteral("cmd_msg_clear"));
    cmd_msg_clear_->setGeometry(twips_rect(10800, msg_top, 420, 420));
    connect(cmd_msg_clear_, &QPushButton::clicked, this, [this] { cmd_msg_clear_Click(); });
}

bool MonitorTab::link_up() const {
    return window_.transport_open() && window_.unit().model_family != not_known;
}

void MonitorTab::show_view_frame(bool on) {
    for (QFrame* f : views_.frames) f->hide();
    if (on && view_ >= 0 && view_ < analyser_view_count)
        views_.frames[static_cast<std::size_t>(view_)]->show();
}

void MonitorTab::show_report_box(bool on) {
    txt_monitor_report_->setVisible(on);
    cmd_monitor_save_->setVisible(on);
    cmd_monitor_exit_->setVisible(on);
}

// ---- the tab and the live views ------------------------------------------------

void MonitorTab::selected() {
    txt_monitor_report_->clear();
    show_report_box(false);
    lab_report_progress_->hide();
    prg_report_->hide();
    fra_mon_type_->setEnabled(true);
    if (view_ < 0 || view_ >= analyser_view_count) view_ = view_system;
    opt_mon_type_[static_cast<std::size_t>(view_)]->setChecked(true);
    monitor_form_set();
    monitor_run();
}

void MonitorTab::monitor_form_set() {
    show_view_frame(false);
    const UnitIdentity& u = window_.unit();
    apply_monitor_updates(views_.labels,
                          monitor_form_updates(view_, u.task_mode, u.model_family, u.linked_model));
    fra_mon_type_->setEnabled(true);
    show_view_frame(true);
}

void MonitorTab::monitor_run() {
    window_.state().pending_action = none_pending;
    window_.set_poll_list(poll_list());
    const std::string& model = window_.unit().linked_model;
    if (view_ == view_system && !model.empty()) views_.unit_frame->setTitle(to_qt(model));
    if (!link_up()) {
        window_.tim_monitor().stop();
        return;
    }
    // A report polls for itself; the live poll waits until it is done.
    if (window_.state().current_tab == tab_monitor && !window_.link().app_closing &&
        !building_report_)
        window_.tim_monitor().start();
}

void MonitorTab::link_state_changed() {
    if (window_.state().current_tab == tab_monitor) monitor_run();
}

void MonitorTab::rebuild_poll_list() { window_.set_poll_list(poll_list()); }

// The view's own list, or the hunt's while the Signal Log hunts dropouts.
std::vector<int> MonitorTab::view_poll_list() {
    const int task = window_.unit().task_mode;
    if (!signal_log_->hunting() || task != task_analyser) return build_poll_list(view_, task, state_);
    return dropout_hunt_poll_list(dropout_hunt_plan({view_}, task, state_));
}

// The view's list, and after it what the source check needs that the view
// does not ask for itself.
std::vector<int> MonitorTab::poll_list() {
    // Building a list resets flags, so the replies are sorted by this copy.
    view_list_ = view_poll_list();
    std::vector<int> list = view_list_;
    if (!source_check_ || !source_check_->active() || window_.unit().task_mode != task_analyser)
        return list;
    for (int index : source_check_poll_list())
        if (std::find(list.begin(), list.end(), index) == list.end()) list.push_back(index);
    return list;
}

void MonitorTab::poll_reply(int index) {
    window_.engine().cmdrx_param_get();
    const LinkState& l = window_.link();
    const PollReply reply{l.cmdrx_param1, l.cmdrx_param2, l.cmdrx_param3};
    DecodeContext ctx;
    ctx.view = view_;
    ctx.task_mode = window_.unit().task_mode;
    ctx.patterns = window_.state().catalogue.patterns;
    ctx.caption = [this](const std::string& control) {
        auto it = views_.labels.find(control);
        return it == views_.labels.end() ? std::string() : from_qt(it->second->text());
    };
    // Queries the view does not poll itself are the source check's alone.
    if (std::find(view_list_.begin(), view_list_.end(), index) != view_list_.end()) {
        const DisplayUpdates updates = decode_reply(index, reply, ctx, state_);
        apply_monitor_updates(views_.labels, updates);
        signal_log_->feed(view_, index, reply, updates);
    }
    const MainState& st = window_.state();
    source_check_->feed(index, reply, st.poll_pos + 1 >= static_cast<int>(st.poll_list.size()));
}

void MonitorTab::opt_mon_type_Click(int index) {
    if (index < 0 || index >= analyser_view_count) return;
    view_ = index;
    opt_mon_type_[static_cast<std::size_t>(index)]->setChecked(true);
    if (window_.state().current_tab != tab_monitor) return;
    monitor_form_set();
    window_.set_poll_list(poll_list());
}

void MonitorTab::cmd_msg_clear_Click() { txt_msg_->clear(); }

// ---- the report ----------------------------------------------------------------

ReportReply MonitorTab::report_query(int index) {
    return engine_report_query(window_.engine(), index);
}

void MonitorTab::show_progress(const ReportProgress& p) {
    lab_report_progress_->setText(to_qt(report_progress_text(p)));
    prg_report_->setValue(report_progress_permille(p));
}

void MonitorTab::cmd_monitor_report_Click() {
    std::array<bool, analyser_view_count> ticked{};
    bool any = false;
    for (int n = 0; n < analyser_view_count; ++n) {
        ticked[static_cast<std::size_t>(n)] =
            chk_mon_report_[static_cast<std::size_t>(n)]->isChecked();
        any = any || ticked[static_cast<std::size_t>(n)];
    }
    if (!any) return;
    if (window_.defer(pending_monitor_report)) return;

    window_.tim_monitor().stop();
    cmd_monitor_report_->setEnabled(false);
    fra_mon_type_->setEnabled(false);
    show_view_frame(false);
    report_aborted_ = false;
    txt_monitor_report_->clear();
    report_text_.clear();
    // SAVE and EXIT of an earlier report would act on a half-built one.
    cmd_monitor_save_->setEnabled(false);
    cmd_monitor_exit_->setEnabled(false);
    building_report_ = true;
    lab_report_progress_->show();
    lab_report_progress_->raise();
    prg_report_->setValue(0);
    prg_report_->show();
    prg_report_->raise();

    const UnitIdentity& u = window_.unit();
    ReportContext ctx;
    ctx.task_mode = u.task_mode;
    ctx.model_family = u.model_family;
    ctx.linked_model = u.linked_model;
    ctx.patterns = window_.state().catalogue.patterns;
    ReportProgress last;
    const ReportSections sections = build_report_sections(
        ticked, ctx, state_, [this](int index) { return report_query(index); },
        [this, &last](const ReportProgress& p) {
            last = p;
            show_progress(p);
        });

    building_report_ = false;
    cmd_monitor_save_->setEnabled(true);
    cmd_monitor_exit_->setEnabled(true);
    prg_report_->hide();
    if (sections.aborted) {
        report_aborted_ = true;
        lab_report_progress_->setText(to_qt(report_stopped_text(last)));
        fra_mon_type_->setEnabled(true);
        cmd_monitor_report_->setEnabled(true);
        return;
    }
    lab_report_progress_->hide();

    ReportHeader h;
    set_report_clock(h);
    if (auto* l = window_.findChild<QLabel*>(QStringLiteral("lab_model")))
        h.model_text = from_qt(l->text());
    if (auto* l = window_.findChild<QLabel*>(QStringLiteral("lab_fw_ver")))
        h.firmware_text = from_qt(l->text());
    h.task_mode = u.task_mode;
    report_text_ = report_header(h) + sections.text;

    QString shown = to_qt(report_text_);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txt_monitor_report_->setPlainText(shown);
    show_report_box(true);
    cmd_monitor_report_->setEnabled(true);
}

void MonitorTab::cmd_monitor_save_Click() {
    if (txt_monitor_report_->toPlainText().isEmpty()) return;
    save_monitor_report(window_.dialogs(), from_qt(window_.documents_dir()), report_text_);
}

void MonitorTab::cmd_monitor_exit_Click() {
    window_.set_poll_list(poll_list());
    show_report_box(false);
    if (!window_.link().app_closing) window_.tim_monitor().start();
    fra_mon_type_->setEnabled(true);
    show_view_frame(true);
}

}  // namespace t27
