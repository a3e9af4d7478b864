#include "mainwin/main_window.h"

#include "common/qt/qt_text.h"
#include "mainwin/main_window_parts.h"
#include "protocol/ip_check.h"
#include "protocol/qt/serial_ports.h"

namespace t27 {

namespace {

constexpr int eth_monitor_ms = 100;

const char* const tip_connect = "Click to connect unit";
const char* const tip_disconnect = "Click to disconnect unit";

}  // namespace

// ---- interface and serial port ----------------------------------------------

const ComMap& MainWindow::com_map() {
    // Asking the system for its serial ports takes a noticeable part of
    // start-up, so it waits until a COM number is first used.
    if (!com_map_built_) refresh_com_map();
    return com_map_;
}

void MainWindow::refresh_com_map() {
    // Asked again whenever the list opens, so an adapter plugged in since
    // shows up; devices that stayed keep their numbers.
    com_map_ = system_com_map(program_path(places_.user, com_map_file_name),
                              com_map_built_ ? &com_map_ : nullptr);
    com_map_built_ = true;
    for (int n = 1; n <= com_port_count && n <= cbo_com_->count(); ++n) {
        const std::string& dev = com_map_.device_for(n);
        cbo_com_->setItemData(n - 1, dev.empty() ? QStringLiteral("no device") : to_qt(dev),
                              Qt::ToolTipRole);
    }
}

bool MainWindow::transport_open() const {
    if (link_.link_interface == interface_rs232) return serial_.is_open() && link_.serial_open;
    return tcp_.connected() && link_.ethernet_connected;
}

void MainWindow::cbo_interface_Click() {
    link_.link_interface =
        cbo_interface_->currentIndex() == 0 ? interface_rs232 : interface_ethernet;
    const bool rs232 = link_.link_interface == interface_rs232;
    if (rs232) {
        eth_connect(false);
        cmd_eth_open_->setEnabled(false);
        set_button_colour(cmd_eth_open_, colour::grey);
        cmd_eth_open_->setToolTip(QString());
        cmd_rs232_open_->setEnabled(true);
        set_button_colour(cmd_rs232_open_, colour::red);
        cmd_rs232_open_->setToolTip(tip_connect);
        cbo_com_->setEnabled(true);
    } else {
        if (link_.serial_open) {
            link_.serial_open = false;
            serial_.close();
        }
        cmd_rs232_open_->setEnabled(false);
        set_button_colour(cmd_rs232_open_, colour::grey);
        cmd_rs232_open_->setToolTip(QString());
        cmd_eth_open_->setEnabled(true);
        set_button_colour(cmd_eth_open_, colour::red);
        cmd_eth_open_->setToolTip(tip_connect);
        cmd_eth_refresh_->setEnabled(false);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(cmd_rs232_open_), static_cast<QWidget*>(cbo_com_),
          static_cast<QWidget*>(lab_rs232_protocol_), static_cast<QWidget*>(cmd_device_)})
        w->setVisible(rs232);
    for (QWidget* w : {static_cast<QWidget*>(cmd_eth_open_), static_cast<QWidget*>(lab_ip_),
                       static_cast<QWidget*>(cmd_eth_find_),
                       static_cast<QWidget*>(cmd_eth_refresh_), static_cast<QWidget*>(txt_eth_ip_)})
        w->setVisible(!rs232);
    if (rs232) fra_discovery_->hide();
    if (!state_.window_loading) focus_neutral();
}

void MainWindow::comport_set() {
    set_button_colour(cmd_rs232_open_, colour::yellow);
    pump_.process_events();
    if (link_.serial_open) serial_.close();
    QString why;
    const QString device = to_qt(com_map().device_for(link_.com_port));
    if (serial_.open(device, &why)) {
        link_.serial_open = true;
        set_button_colour(cmd_rs232_open_, colour::green);
        cmd_rs232_open_->setToolTip(tip_disconnect);
        pump_.process_events();
        return;
    }
    // A port that is there but may not be opened is the usual first meeting
    // with a serial adapter on Linux: the message names the fix.
    std::string text = "RS-232 can not work on COM" + std::to_string(link_.com_port) + ": !";
    const std::string hint = serial_permission_hint(from_qt(device));
    if (!hint.empty()) text += "\n\n" + hint;
    dialogs_.message(text, MessageIcon::None);
    set_button_colour(cmd_rs232_open_, colour::red);
    cmd_rs232_open_->setToolTip(tip_connect);
    link_.serial_open = false;
    pump_.process_events();
}

void MainWindow::send_probe_and_refresh() {
    engine_.cmdtx_str("$boot?\r");
    if (link_.cmdrx_status != ReplyStatus::NoResponse) img_refresh_Click();
}

void MainWindow::cmd_rs232_open_Click() {
    cmd_rs232_open_->setEnabled(false);
    focus_neutral();
    pump_.process_events();
    if (link_.serial_open) {
        serial_.close();
    } else {
        comport_set();
        if (serial_.is_open()) send_probe_and_refresh();
    }
    ui_var_set();
    cmd_rs232_open_->setEnabled(link_.link_interface == interface_rs232);
}

void MainWindow::close_serial() {
    serial_.close();
    pump_.process_events();
    link_.serial_open = false;
}

void MainWindow::cbo_com_Click() {
    link_.com_port = cbo_com_->currentIndex() + 1;
    if (state_.window_loading) return;
    cbo_com_->setEnabled(false);
    focus_neutral();
    pump_.process_events();
    if (link_.serial_open) close_serial();
    comport_set();
    if (serial_.is_open()) send_probe_and_refresh();
    ui_var_set();
    cbo_com_->setEnabled(true);
}

// ---- Ethernet ------------------------------------------------------------------

bool MainWindow::ip_check() {
    const IpEntryUpdate u =
        ip_entry_check(from_qt(txt_eth_ip_->text()), state_.saved_ip, link_.ethernet_connected);
    txt_eth_ip_->setText(to_qt(u.entry_text));
    state_.saved_ip = u.saved_ip;
    if (!u.ok) dialogs_.message("Wrong IP address.", MessageIcon::Error);
    return u.ok;
}

void MainWindow::eth_connect(bool on) {
    if (!on) {
        tim_eth_.stop();
        tcp_.close();
        link_.ethernet_connected = false;
        tim_eth_.setInterval(eth_connect_ms);
        set_button_colour(cmd_eth_open_, colour::red);
        cmd_eth_open_->setToolTip(tip_connect);
        return;
    }
    // A poll tick inside the connection's set-up would write on a socket
    // being closed and reopened.
    tim_monitor_.stop();
    pump_.process_events();
    tcp_.close();
    set_button_colour(cmd_eth_open_, colour::yellow);
    if (link_.app_closing) return;
    tim_eth_.start();
    tcp_.connect_to(to_qt(state_.saved_ip), unit_port_);
}

void MainWindow::cmd_eth_open_Click() {
    if (!link_.ethernet_connected) {
        if (ip_check()) {
            eth_connect(true);
            // The connect event arrives later, so the flag is still clear here
            // and the connection is started once more.
            if (!link_.ethernet_connected) eth_connect(true);
        }
    } else {
        eth_connect(false);
    }
    ui_var_set();
    focus_neutral();
}

void MainWindow::reconnect_to_saved_ip() {
    eth_connect(false);
    wait_seconds(pump_, 0.5);
    eth_connect(true);
    wait_seconds(pump_, 0.5);
    // The connect event may still be on its way; start once more if so.
    if (!link_.ethernet_connected) eth_connect(true);
    ui_var_set();
}

void MainWindow::txt_eth_ip_Enter() {
    if (!ip_check()) return;
    txt_eth_ip_->setEnabled(false);
    pump_.process_events();
    reconnect_to_saved_ip();
    txt_eth_ip_->setEnabled(true);
    txt_eth_ip_->setFocus();
}

void MainWindow::wsk_client_Connect() {
    link_.ethernet_connected = true;
    auto_link_stopped_ = false;  // a new connection may be another unit
    model_answered_ = false;     // nothing has answered on this connection yet
    tim_eth_.setInterval(eth_monitor_ms);
    set_button_colour(cmd_eth_open_, colour::green);
    cmd_eth_open_->setToolTip(tip_disconnect);
    unit_.model_family = not_known;  // whoever answers must be identified again
    // The last reply's "Accepted" belonged to the old connection.
    set_link_label("Not Linked", colour::red);
    state_.clock_seconds = 0;
    if (state_.current_tab == tab_monitor)
        if (TabPage* p = page(tab_monitor)) p->form_set();
}

bool MainWindow::reconnect_once(const char* lost_message) {
    reconnecting_ = true;
    eth_connect(true);
    wait_seconds(pump_, 0.5);
    reconnecting_ = false;
    if (tcp_.connected()) return true;
    eth_connect(false);
    set_link_label("Not Linked", colour::red);
    dialogs_.message(lost_message, MessageIcon::Error);
    return false;
}

void MainWindow::wsk_client_Close() {
    if (reconnecting_) return;
    reconnect_once("Ethernet is disconnected !!");
    ui_var_set();
}

void MainWindow::tim_eth_Timer() {
    if (reconnecting_) return;
    if (link_.app_closing) {
        tim_eth_.stop();
        pump_.process_events();
        return;
    }
    pump_.process_events();
    // A close handled among those events has already tried again and told
    // the user, and stopped this timer: this tick is stale, and going on
    // would report a lost peer as one that was never found.
    if (!tim_eth_.isActive()) return;
    if (link_.ethernet_connected) {
        if (!tcp_.connected()) {
            tim_eth_.stop();
            if (!reconnect_once("Ethernet is disconnected !")) ui_var_set();
        }
        return;
    }
    tim_eth_.stop();
    dialogs_.message("Client could not find Server.", MessageIcon::Error);
    if (tcp_.socket().state() != QAbstractSocket::UnconnectedState) tcp_.close();
    set_button_colour(cmd_eth_open_, colour::red);
    cmd_eth_open_->setToolTip(tip_connect);
}

// ---- clock ---------------------------------------------------------------------------

void MainWindow::tim_clock_Timer() {
    tim_clock_.stop();
    if (++state_.clock_ticks > 65530) state_.clock_ticks = 0;
    if (state_.clock_ticks % 10 == 0) {
        if (++state_.clock_seconds > 65535) state_.clock_seconds = 0;
        // Watchdog: a serial adapter pulled out shows up as a port that can no
        // longer be queried; close it quietly.
        if (link_.serial_open && serial_.rx_count() < 0) {
            close_serial();
            ui_var_set();
        }
    }
    if (unit_.model_family == not_known && link_.ethernet_connected && !auto_link_stopped_) {
        pump_.process_events();
        // A refresh asked for while a transaction runs is only deferred, and
        // the deferral may yet be dropped (a poll restart clears it): it has
        // heard no model, so it must not end the automatic link.
        const bool refresh_runs = !link_.cmdtx_busy && !state_.poll_busy;
        img_refresh_Click();
        // A unit that answers with a model this program does not know would
        // be asked again every tick, each time with a message box; it has been
        // told once, and the next connection or the user's own Link or
        // Refresh tries again.
        if (refresh_runs && unit_.model_family == not_known && model_answered_)
            auto_link_stopped_ = true;
    }
    if (link_.app_closing) return;
    tim_clock_.start();
    pump_.process_events();
    if (state_.clock_action != 254 && state_.clock_seconds >= state_.clock_delay) {
        const int action = state_.clock_action;
        state_.clock_action = 254;
        if (action == 1) fra_discovery_->repeat_if_due();
    }
}

void MainWindow::tim_clock_go(int type, int delay_seconds) {
    state_.clock_action = type;
    state_.clock_delay = delay_seconds;
    state_.clock_ticks = 0;
    state_.clock_seconds = 0;
}

// ---- link and refresh ------------------------------------------------------------------

void MainWindow::lab_link_Click() {
    if (defer(pending_link)) return;
    model_answered_ = false;
    link_sequence(engine_, *this);
}

void MainWindow::img_refresh_Click() {
    if (defer(pending_refresh)) return;
    model_answered_ = false;
    state_.refresh_mark = true;
    img_refresh_->setEnabled(false);
    set_picture(img_refresh_, "refresh_busy.bmp");
    pump_.process_events();
    if (state_.current_tab == tab_monitor) {
        tim_monitor_.stop();
        pump_.process_events();
    }
    link_sequence(engine_, *this);
    if (link_.cmdrx_status == ReplyStatus::Accepted)
        if (TabPage* p = page(state_.current_tab)) p->read_back();
    if (polling_tab()) {
        tim_monitor_.start();
        pump_.process_events();
    }
    set_picture(img_refresh_, "refresh_on.bmp");
    img_refresh_->setEnabled(true);
    state_.refresh_mark = false;
}

void MainWindow::ui_var_set() {
    const bool rs232 = link_.link_interface == interface_rs232;
    const bool open = rs232 ? serial_.is_open() : link_.ethernet_connected;
    if (open) {
        if (rs232) {
            link_.serial_open = true;
            set_button_colour(cmd_rs232_open_, colour::green);
            cmd_rs232_open_->setToolTip(tip_disconnect);
        } else {
            set_button_colour(cmd_eth_open_, colour::green);
            cmd_eth_open_->setToolTip(tip_disconnect);
        }
        if (!state_.refresh_mark) set_picture(img_refresh_, "refresh_on.bmp");
    } else {
        if (rs232) {
            link_.serial_open = false;
            set_button_colour(cmd_rs232_open_, colour::red);
            cmd_rs232_open_->setToolTip(tip_connect);
        } else if (!tim_eth_.isActive()) {
            set_button_colour(cmd_eth_open_, colour::red);
            cmd_eth_open_->setToolTip(tip_connect);
        }
        set_picture(img_refresh_, "refresh_off.bmp");
    }
    const int task = open ? unit_.task_mode : not_known;
    set_picture(img_analyser_,
                task == task_analyser ? "task_analyser_on.bmp" : "task_analyser_off.bmp");
    set_picture(img_pattern_,
                task == task_pattern ? "task_pattern_on.bmp" : "task_pattern_off.bmp");
    set_picture(img_cable_test_,
                task == task_cable ? "task_cable_test_on.bmp" : "task_cable_test_off.bmp");

    const int tab = state_.current_tab;
    if (cable_task_offered(unit_.model_family)) {
        img_cable_test_->setVisible(true);
        cmd_main_[tab_cable]->setVisible(true);
        const bool cable = cable_task_only(unit_.model_family, unit_.task_mode);
        // In cable mode the unit does nothing else, so only its tab stays open.
        for (int i = 0; i < tab_cable; ++i)
            cmd_main_[static_cast<std::size_t>(i)]->setEnabled(!cable);
        cmd_main_[tab_cable]->setEnabled(cable);
        if (cable) {
            if (tab == tab_cable)
                show_tab_frame(tab_cable, true);
            else
                show_tab_frame(tab, false);
        } else {
            if (tab == tab_cable)
                show_tab_frame(tab_cable, false);
            else
                show_tab_frame(tab, true);
        }
    } else {
        img_cable_test_->setVisible(false);
        cmd_main_[tab_cable]->setVisible(false);
        fra_main_[tab_cable]->setVisible(false);
        // A unit without cable mode may follow one that was in it.
        for (int i = 0; i < tab_cable; ++i)
            cmd_main_[static_cast<std::size_t>(i)]->setEnabled(true);
        if (tab != 254 && tab != tab_cable) show_tab_frame(tab, true);
    }
    for (TabPage* p : pages_)
        if (p) p->link_state_changed();
}

}  // namespace t27
