#pragma once
// The "Signal Log" window: every change the live poll found, with the time,
// the item, its old and new value, a count of changes per item, Clear and
// Save as CSV. The log itself lives with the Monitor tab (SignalLogFeed), so
// it keeps recording while the window is closed.
#include <QAbstractTableModel>
#include <QCheckBox>
#include <functional>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QWidget>

#include "analyser/dropout_hunt.h"
#include "analyser/signal_log.h"
#include "mainwin/dialogs.h"

namespace t27 {

class MainWindow;

// A dropout as a row of the log: its start, "Dropout", lost or changed, and
// how long until it was back.
inline constexpr const char* dropout_item = "Dropout";
SignalChange dropout_row(const Dropout& d);

// The kept changes as table rows, oldest first.
class SignalLogModel : public QAbstractTableModel {
  public:
    SignalLogModel(SignalLog& log, QObject* parent) : QAbstractTableModel(parent), log_(log) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // Adds to the log with the row changes announced, the oldest row leaving
    // when the log is full.
    void add(const SignalChange& change);
    void clear();

  private:
    SignalLog& log_;
};

class SignalLogWindow : public QWidget {
    Q_OBJECT
  public:
    // A tool window owned by `owner` (the main window).
    SignalLogWindow(SignalLog& log, Dialogs& dialogs, std::string folder, QWidget* owner);

    void add(const std::vector<SignalChange>& changes);
    void cmd_signal_log_clear_Click();
    void cmd_signal_log_save_Click();
    void chk_signal_log_hunt_Click();

    // Told when the hunt box is ticked or cleared.
    std::function<void(bool)> hunt_set;
    void set_hunt_shown(bool on);

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void show_counts();

    SignalLog& log_;
    Dialogs& dialogs_;
    std::string folder_;
    SignalLogModel* model_ = nullptr;
    QTableView* lstv_signal_log_ = nullptr;
    QTableWidget* lstv_signal_count_ = nullptr;
    QLabel* lab_signal_log_total_ = nullptr;
    QPushButton* cmd_signal_log_clear_ = nullptr;
    QPushButton* cmd_signal_log_save_ = nullptr;
    QCheckBox* chk_signal_log_hunt_ = nullptr;
};

// The Monitor tab's side of the log: the "Signal Log" button, the log and the
// change detection, fed with every live poll reply's display updates.
class SignalLogFeed : public QObject {
  public:
    // The button is made as a child of `tab` at `geometry`.
    SignalLogFeed(MainWindow& window, QWidget* tab, const QRect& geometry);
    ~SignalLogFeed() override;

    void feed(int view, int index, const PollReply& reply, const DisplayUpdates& updates);
    void cmd_signal_log_Click();

    // Hunting dropouts: the poll list becomes the view's dropout hunt, each
    // dropout is a row of its own, and nothing read during one is logged.
    bool hunting() const { return hunt_; }
    void set_hunting(bool on);
    std::function<void()> hunt_changed;

  private:
    MainWindow& window_;
    SignalLog log_;
    SignalWatch watch_;
    // The items of the view last fed, rebuilt when the view or the unit changes.
    struct ItemsFor {
        int view = -1, task_mode = -1, model_family = -1;
        std::string model;
        std::vector<SignalItem> items;
    } items_;
    QPushButton* cmd_signal_log_ = nullptr;
    QPointer<SignalLogWindow> log_window_;
    bool hunt_ = false;
    DropoutDetector dropouts_;
};

}  // namespace t27
