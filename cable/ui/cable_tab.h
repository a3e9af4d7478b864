#pragma once
// The "Cable Test" tab: choose time and level, start and stop the unit's
// cable test, and watch what the poll reads back. The unit keeps the clock;
// this page only shows it.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <string>

#include "cable/cable_view.h"
#include "mainwin/click_label.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class CableTab : public QFrame, public TabPage {
    Q_OBJECT
  public:
    // Builds the page inside tab 5's frame and registers it and its
    // deferred actions (codes 0-3) with the window.
    explicit CableTab(MainWindow& window);
    ~CableTab() override;

    // TabPage
    void selected() override { cable_test_run(); }
    void poll_reply(int index) override;
    void rebuild_poll_list() override { cable_table_set(); }

    // The tab was chosen: drop any deferred action, set the poll list and
    // run the poll while a unit is linked.
    void cable_test_run();
    void cable_table_set();

    // User events; the first four are also the deferred actions 0-3.
    void lab_cable_start_Click();
    void lab_cable_stop_Click();
    void cmd_cable_level_Click();
    void cbo_cable_time_Click();
    void cbo_cable_time_GotFocus();
    void cbo_cable_time_LostFocus();

    const CableView& view() const { return view_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void render();
    CableGeometry geometry() const;
    // Sends one request with `control` disabled; its reply is not looked at,
    // the next poll cycle shows what the unit made of it.
    void send_from(bool CableView::*control, const std::string& request);

    MainWindow& window_;
    CableView view_;
    // Set once the window starts tearing down its members, so the
    // destructor does not unregister from a window that is half gone.
    bool window_gone_ = false;

    QComboBox* cbo_cable_time_ = nullptr;
    QLabel* lab_cable_time_ = nullptr;
    QPushButton* cmd_cable_level_ = nullptr;
    QLabel* lab_cable_level_ = nullptr;
    QFrame* sha_cable_start_ = nullptr;
    ClickLabel* lab_cable_start_ = nullptr;
    QFrame* sha_cable_stop_ = nullptr;
    ClickLabel* lab_cable_stop_ = nullptr;
    std::array<QLabel*, 4> lab_timer_{};  // day, hour, minute, second
    QLabel* lab_cable_timer_ = nullptr;
    QProgressBar* pbar_cable_ = nullptr;
    QLabel* img_cable_arrow_ = nullptr;
    QLabel* lab_cable_result_ = nullptr;
};

}  // namespace t27
