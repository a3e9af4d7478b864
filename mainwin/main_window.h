#pragma once
// The main window: link controls, identification, and the timers that keep the
// link honest. Tabs and their subsystems hang off it.
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "settings/program_dir.h"
#include "settings/window_placement.h"
#include "mainwin/click_label.h"
#include "mainwin/command_monitor.h"
#include "mainwin/dialogs.h"
#include "mainwin/discovery_panel.h"
#include "mainwin/main_state.h"
#include "mainwin/tab_page.h"
#include "protocol/com_map.h"
#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "protocol/qt/qt_pump.h"
#include "protocol/qt/qt_serial_transport.h"
#include "protocol/qt/qt_tcp_transport.h"

namespace t27 {

class MainWindow : public QWidget, private EngineView, private LinkHooks {
    Q_OBJECT
  public:
    // Everything in one folder (a portable copy, the tests).
    MainWindow(const QString& program_dir, Dialogs& dialogs, QWidget* parent = nullptr);
    // Shipped files read from one folder, the user's written to another.
    MainWindow(const ProgramPlaces& places, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up as the window loads: lists, settings, placement. Opens nothing.
    void form_load();
    // Shutdown: timers stopped, port closed, settings written.
    void form_unload();

    // The unit's TCP port; 23 on a real unit, anything for a simulator.
    void set_unit_port(quint16 port) { unit_port_ = port; }

    Engine& engine() { return engine_; }
    LinkState& link() { return link_; }
    UnitIdentity& unit() { return unit_; }
    MainState& state() { return state_; }
    // COM number -> device, built on first use.
    const ComMap& com_map();
    // Lists the system's ports again (the COM list does as it opens).
    void refresh_com_map();
    QtTcpTransport& tcp() { return tcp_; }
    QtSerialTransport& serial() { return serial_; }

    // Handlers, named after their controls.
    void cbo_interface_Click();
    void cbo_com_Click();
    void cmd_rs232_open_Click();
    void comport_set();
    void cmd_eth_open_Click();
    void txt_eth_ip_Enter();
    void eth_connect(bool on);
    // A connection the unit closed: one try to open it again, after the
    // 0.5 s grace wait; when that fails, the link shows down and the user is
    // told `lost_message`.
    bool reconnect_once(const char* lost_message);
    bool ip_check();
    void lab_link_Click();
    void img_refresh_Click();
    void ui_var_set();
    void tim_clock_Timer();
    // Arms the clock's one delayed action (type 1 = repeat discovery).
    void tim_clock_go(int type, int delay_seconds);
    void cmd_eth_find_Click();
    void cmd_eth_refresh_Click();
    void lstv_discovery_DblClick(const QString& ip);
    void lab_monitor_eye_cmd_Click();
    void cmd_device_Click();
    void img_about_Click();
    // Tests and demos point discovery at 127.0.0.1.
    void set_discovery_targets(const DiscoveryTargets& targets);
    DiscoveryPanel& discovery() { return *fra_discovery_; }
    CommandMonitor* command_monitor() const { return monitor_.data(); }
    void tim_eth_Timer();
    void wsk_client_Connect();
    void wsk_client_Close();

    // True when the selected transport is open and may carry a request.
    bool transport_open() const;

    // Tabs, task modes and the poll loop.
    void cmd_main_Click(int index);
    void cmd_task_mode_set(const std::string& task);
    void tim_monitor_Timer();
    void run_pending_action(int code);
    // Runs the deferred action, cleared first: a click deferred while it
    // runs is kept for the next turn, not wiped.
    void take_pending_action();
    void tim_pending_Timer();
    // Deferral: true (and the code stored) when a transaction or poll runs.
    bool defer(int code);
    void set_poll_list(std::vector<int> list);
    QTimer& tim_monitor() { return tim_monitor_; }

    // Each subsystem puts its page into a tab's frame and registers here.
    void set_page(int tab, TabPage* page) { pages_.at(static_cast<std::size_t>(tab)) = page; }
    // How to build a tab's page; it is built when the tab is first opened,
    // so start-up does not pay for six pages of widgets the user may never see.
    void set_page_builder(int tab, std::function<void()> build) {
        page_builders_.at(static_cast<std::size_t>(tab)) = std::move(build);
    }
    QFrame* tab_frame(int tab) const { return fra_main_.at(static_cast<std::size_t>(tab)); }
    // The user action a deferred code stands for (codes 0-16 not run by the window itself).
    void set_pending_handler(int code, std::function<void()> fn);
    // The poll timer is re-armed only while this answers true (the Monitor
    // tab's view choice is disabled while a report runs).
    std::function<bool()> poll_allowed;
    // After a tab change (the command monitor re-evaluates its pause state).
    std::function<void()> on_tab_changed;
    // The link chose the second entry of the EDID source/target selectors.
    std::function<void(const std::string&)> on_edid_second_entry;
    // That entry as the last link chose it (empty before any link), for a
    // page built later.
    const std::string& edid_second_entry() const { return edid_second_entry_; }

    Dialogs& dialogs() { return dialogs_; }
    Pump& pump() { return pump_; }
    // The folder of the files that ship with the program (bmp/ and the
    // catalogues as installed).
    const QString& shipped_dir() const { return shipped_dir_; }
    // Where file dialogs start: the program's folder for a portable copy,
    // the home folder for an installed program (whose own folder for the
    // user's files is a hidden one).
    QString documents_dir() const;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    // EngineView
    void show_message(const std::string& text, MessageIcon icon) override;
    void set_link_label(const std::string& caption, Colour colour) override;
    void set_activity(bool visible, int position) override;
    void monitor_log_changed(const std::string& log) override;
    void monitor_log_cleared() override;
    // LinkHooks
    void set_link_enabled(bool on) override;
    void set_model_caption(const std::string& text) override;
    void set_fw_caption(const std::string& text) override;
    void set_edid_second_entry(const std::string& text) override;
    void load_catalogue(const std::string& file) override;

    void build_controls();
    void build_tabs();
    TabPage* page(int tab) const;
    bool polling_tab() const;
    void show_tab_frame(int tab, bool on);
    void set_button_colour(QPushButton* b, Colour c);
    void set_picture(ClickLabel* l, const char* file);
    void focus_neutral();
    void send_probe_and_refresh();
    // Drop the connection and connect to the last accepted address again.
    void reconnect_to_saved_ip();
    void close_serial();
    // The primary screen's available area in twips, when there is a screen.
    std::optional<ScreenArea> screen_area() const;
    // A file the user would lose (settings, favourites) could not be written:
    // said once, on stderr and in a message box, so a session that cannot
    // save is not silent.
    void report_save_failure(const std::string& error);

    ProgramPlaces places_;
    QString program_dir_;
    QString shipped_dir_;
    bool save_failure_reported_ = false;
    Dialogs& dialogs_;
    LinkState link_;
    UnitIdentity unit_;
    MainState state_;
    QtPump pump_;
    QtSerialTransport serial_;
    QtTcpTransport tcp_;
    Engine engine_;
    ComMap com_map_;
    bool com_map_built_ = false;
    quint16 unit_port_ = 23;
    bool unloaded_ = false;
    // Set while one reconnect attempt waits out its grace time, so the 100 ms
    // monitor does not start a second attempt inside the first.
    bool reconnecting_ = false;

    QComboBox* cbo_interface_ = nullptr;
    QComboBox* cbo_com_ = nullptr;
    QPushButton* cmd_rs232_open_ = nullptr;
    ClickLabel* lab_rs232_protocol_ = nullptr;
    QPushButton* cmd_device_ = nullptr;
    ClickLabel* lab_ip_ = nullptr;
    QLineEdit* txt_eth_ip_ = nullptr;
    QPushButton* cmd_eth_open_ = nullptr;
    QPushButton* cmd_eth_find_ = nullptr;
    QPushButton* cmd_eth_refresh_ = nullptr;
    DiscoveryPanel* fra_discovery_ = nullptr;
    ClickLabel* lab_monitor_eye_cmd_ = nullptr;
    QFrame* sha_eye_frame_ = nullptr;
    ClickLabel* img_about_ = nullptr;
    QPointer<CommandMonitor> monitor_;
    ClickLabel* lab_link_ = nullptr;
    ClickLabel* lab_model_ = nullptr;
    ClickLabel* lab_fw_ver_ = nullptr;
    ClickLabel* img_refresh_ = nullptr;
    ClickLabel* img_analyser_ = nullptr;
    ClickLabel* img_pattern_ = nullptr;
    ClickLabel* img_cable_test_ = nullptr;
    QFrame* shape_link_ = nullptr;
    QPushButton* cmd_focus_ = nullptr;
    std::array<QPushButton*, tab_count> cmd_main_{};
    std::array<QFrame*, tab_count> fra_main_{};
    QFrame* fra_splash_ = nullptr;
    std::array<TabPage*, tab_count> pages_{};
    std::array<std::function<void()>, tab_count> page_builders_{};
    std::array<std::function<void()>, pending_action_codes> pending_handlers_{};
    QTimer tim_clock_;
    QTimer tim_eth_;
    QTimer tim_monitor_;
    // Carries out an action deferred on a tab without a poll tick.
    QTimer tim_pending_;
    // The favourites as read from the loaded catalogue's file.
    Favourites favourites_loaded_;
    std::string edid_second_entry_;
    // The last link got an answer to "$model?" (known model or not).
    bool model_answered_ = false;
    // The clock's automatic link gave up on a unit of unknown model.
    bool auto_link_stopped_ = false;
};

}  // namespace t27
