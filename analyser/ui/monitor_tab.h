#pragma once
// The Monitor tab: the analyser's five live views polled by the main window's
// poll timer, the view choice, and the monitor report with its SAVE and EXIT.
// Decisions live in the analyser logic; this class turns clicks and poll
// replies into calls on it and shows what it returns.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "analyser/analyser_state.h"
#include "analyser/monitor_report.h"
#include "analyser/ui/monitor_views.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class SignalLogFeed;
class SourceCheckFeed;

class MonitorTab : public QWidget, public TabPage {
    Q_OBJECT
  public:
    // Puts itself into the Monitor tab's frame and registers with the window.
    explicit MonitorTab(MainWindow& window);
    ~MonitorTab() override;

    // TabPage
    void selected() override;
    void poll_reply(int index) override;
    void rebuild_poll_list() override;
    void form_set() override { monitor_form_set(); }
    void link_state_changed() override;

    // Lays out the current view: emptied values, captions, the frame shown.
    void monitor_form_set();
    // Sets the poll list for the view and task mode and starts or stops the
    // poll timer as the link allows.
    void monitor_run();

    void opt_mon_type_Click(int index);
    void cmd_monitor_report_Click();
    void cmd_monitor_save_Click();
    void cmd_monitor_exit_Click();
    void cmd_msg_clear_Click();

    int view() const { return view_; }
    AnalyserState& analyser() { return state_; }
    const std::string& report_text() const { return report_text_; }
    bool report_aborted() const { return report_aborted_; }
    bool report_running() const { return building_report_; }
    SourceCheckFeed* source_check() const { return source_check_; }

  private:
    void build_controls();
    bool link_up() const;
    void show_view_frame(bool on);
    void show_report_box(bool on);
    void show_progress(const ReportProgress& p);
    // The view's poll list, or its dropout hunt when the signal log hunts.
    std::vector<int> view_poll_list();
    // That list, and the source check's queries while its window is open.
    std::vector<int> poll_list();
    ReportReply report_query(int index);

    MainWindow& window_;
    // The view's part of the list last built: replies to anything else are
    // the source check's alone.
    std::vector<int> view_list_;
    // Shared with a sentinel that the tab frame destroys just before this
    // page: false once the window is tearing down, so the destructor leaves
    // the half-destroyed window alone.
    std::shared_ptr<bool> window_alive_;

    AnalyserState state_;
    int view_ = view_system;
    std::string report_text_;
    bool report_aborted_ = false;
    bool building_report_ = false;

    MonitorViews views_;
    QGroupBox* fra_mon_type_ = nullptr;
    std::array<QRadioButton*, analyser_view_count> opt_mon_type_{};
    QButtonGroup* opt_group_ = nullptr;
    QGroupBox* fra_mon_report_ = nullptr;
    std::array<QCheckBox*, analyser_view_count> chk_mon_report_{};
    QPushButton* cmd_monitor_report_ = nullptr;
    SignalLogFeed* signal_log_ = nullptr;      // its button sits below REPORT
    SourceCheckFeed* source_check_ = nullptr;  // CHECK, below the signal log's button
    QPlainTextEdit* txt_monitor_report_ = nullptr;
    QPushButton* cmd_monitor_save_ = nullptr;
    QPushButton* cmd_monitor_exit_ = nullptr;
    QLabel* lab_report_progress_ = nullptr;
    QProgressBar* prg_report_ = nullptr;
    QPlainTextEdit* txt_msg_ = nullptr;
    QPushButton* cmd_msg_clear_ = nullptr;
};

}  // namespace t27
