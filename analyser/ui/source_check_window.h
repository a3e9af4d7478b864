#pragma once
// The "Source Check" window: the source on the unit's input held against the
// EDID the unit presents to it (or a file), rule by rule, re-judged at the end
// of every poll cycle. Its button sits on the Monitor tab (SourceCheckFeed),
// which adds the check's queries to its poll while the window is open.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>

#include "analyser/source_check.h"
#include "mainwin/dialogs.h"

namespace t27 {

class MainWindow;

class SourceCheckWindow : public QWidget {
    Q_OBJECT
  public:
    // A tool window owned by `owner` (the main window).
    SourceCheckWindow(Dialogs& dialogs, std::string folder, QWidget* owner);

    void set_edid(SourceCheckEdid edid);
    void take(int index, const PollReply& reply) { source_signal_take(signal_, index, reply); }
    // The end of a poll cycle: every rule judged again.
    void cycle_end();
    const std::vector<SourceCheckRow>& rows() const { return rows_; }
    bool has_edid() const { return edid_.model.has_value(); }

    void cmd_check_save_Click();
    void cmd_check_edid_file_Click();

    // Set by the feed: reading the unit's EDID goes through the tab.
    std::function<void()> on_edid_read;
    // Closed by the user: the tab stops polling the check's queries.
    std::function<void()> on_closed;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void show_rows();

    Dialogs& dialogs_;
    std::string folder_;
    SourceCheckEdid edid_;
    SinkCaps caps_;
    SourceSignal signal_;
    std::vector<SourceCheckRow> rows_;
    QLabel* lab_check_edid_ = nullptr;
    QTableWidget* lstv_check_ = nullptr;
    QLabel* lab_check_total_ = nullptr;
    QPushButton* cmd_check_edid_read_ = nullptr;
    QPushButton* cmd_check_edid_file_ = nullptr;
    QPushButton* cmd_check_save_ = nullptr;
};

// The Monitor tab's side of the check: the "CHECK" button and the window.
class SourceCheckFeed : public QObject {
  public:
    // The button is made as a child of `tab` at `geometry`; `poll_changed`
    // runs when the check starts or stops wanting its queries polled.
    SourceCheckFeed(MainWindow& window, QWidget* tab, const QRect& geometry,
                    std::function<void()> poll_changed);
    ~SourceCheckFeed() override;

    // True while the window is open: the tab polls the check's queries too.
    bool active() const;
    // An accepted poll reply; `cycle_end` when it was the list's last entry.
    void feed(int index, const PollReply& reply, bool cycle_end);
    void cmd_check_Click();
    // Reads the input's EDID from the unit (deferred while the line is busy).
    void edid_read();
    SourceCheckWindow* check_window() const { return check_window_.data(); }

  private:
    MainWindow& window_;
    std::function<void()> poll_changed_;
    QPushButton* cmd_check_ = nullptr;
    QPointer<SourceCheckWindow> check_window_;
};

}  // namespace t27
