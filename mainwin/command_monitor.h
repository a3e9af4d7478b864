#pragma once
// The command monitor: the unit's replies as they arrive, with control
// characters made visible, and a line to type requests into when no polling
// tab is shown.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "mainwin/main_state.h"
#include "protocol/engine.h"
#include "protocol/pump.h"

namespace t27 {

class CommandMonitor : public QWidget {
    Q_OBJECT
  public:
    // Opens as a tool window owned by `main_window` (which may be null in
    // tests) and placed beside it. The window deletes itself when closed.
    CommandMonitor(Engine& engine, MainState& state, Pump& pump, QWidget* main_window);

    // Logging on or off for the shown tab; the tab switch calls it too.
    void monitor_pause_set();
    // The receive pass appended to the log: show all of it, caret at the end.
    void log_changed(const std::string& log);
    // The log passed its limit and was emptied.
    void log_cleared();
    // Bottom edge level with the main window's, right edge against its left.
    void place_beside(QWidget* main);

    bool is_open() const { return open_; }
    bool paused() const { return monitor_paused_; }

    void cmd_pause_Click();
    void cmd_clear_Click();
    void cmd_tx_str_Click();

  signals:
    void closed();

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void build_controls();
    void set_pause_colour(Colour c);
    void show_log(const std::string& log);

    Engine& engine_;
    MainState& state_;
    Pump& pump_;
    QWidget* main_window_;
    bool open_ = false;
    bool monitor_paused_ = false;
    // What the view holds, so a pass that only appended costs only the new text.
    std::string shown_;

    QPlainTextEdit* rtxt_monitor_ = nullptr;
    QLineEdit* txt_tx_str_ = nullptr;
    QPushButton* cmd_tx_str_ = nullptr;
    QPushButton* cmd_pause_ = nullptr;
    QPushButton* cmd_clear_ = nullptr;
};

}  // namespace t27
