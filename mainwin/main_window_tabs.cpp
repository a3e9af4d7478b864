#include "mainwin/main_window.h"

#include "protocol/command_table.h"

namespace t27 {

// ---- tabs, task modes and the poll loop ------------------------------------------------------

bool MainWindow::defer(int code) {
    if (!link_.cmdtx_busy && !state_.poll_busy) return false;
    state_.pending_action = code;  // a later deferral replaces an earlier one
    // Only the polling tabs have a poll tick to carry the action out; on the
    // others it would wait, unseen, until the user happened to open one.
    if (!polling_tab()) tim_pending_.start();
    return true;
}

void MainWindow::take_pending_action() {
    const int code = state_.pending_action;
    state_.pending_action = none_pending;
    run_pending_action(code);
}

void MainWindow::tim_pending_Timer() {
    if (link_.app_closing || state_.pending_action == none_pending || polling_tab()) return;
    if (link_.cmdtx_busy || state_.poll_busy) {
        tim_pending_.start();
        return;
    }
    take_pending_action();
}

void MainWindow::set_poll_list(std::vector<int> list) {
    state_.poll_list = std::move(list);
    state_.poll_pos = 0;
}

void MainWindow::cmd_main_Click(int index) {
    if (index < 0 || index >= tab_count) return;
    tim_monitor_.stop();
    pump_.process_events();
    state_.poll_busy = false;
    link_.quiet_transaction = false;
    if (state_.current_tab == 254) {
        fra_splash_->hide();
    } else {
        set_button_colour(cmd_main_[static_cast<std::size_t>(state_.current_tab)],
                          colour::light_grey);
        show_tab_frame(state_.current_tab, false);
    }
    state_.current_tab = index;
    set_button_colour(cmd_main_[static_cast<std::size_t>(index)], colour::orange);
    if (monitor_) monitor_->monitor_pause_set();
    if (on_tab_changed) on_tab_changed();
    const auto i = static_cast<std::size_t>(index);
    if (!pages_[i] && page_builders_[i]) page_builders_[i]();
    if (TabPage* p = page(index)) p->selected();
    show_tab_frame(index, true);
    pump_.process_events();

    const bool open = link_.link_interface == interface_rs232
                          ? serial_.is_open() && link_.serial_open
                          : tcp_.connected() && link_.ethernet_connected;
    if (open) {
        engine_.cmdtx_str("$boot?\r");
        img_refresh_Click();
    }
}

void MainWindow::cmd_task_mode_set(const std::string& task) {
    const int code = task == "analyser"  ? pending_task_analyser
                     : task == "pattern" ? pending_task_pattern
                                         : pending_task_cable;
    if (defer(code)) return;
    if (polling_tab()) {
        tim_monitor_.stop();
        pump_.process_events();
    }
    if (task_mode_set(engine_, task)) {
        ui_var_set();
        if (state_.current_tab == tab_timing || state_.current_tab == tab_pattern)
            if (TabPage* p = page(state_.current_tab)) p->read_back();
    }
    if ((unit_.task_mode == task_analyser || unit_.task_mode == task_pattern) &&
        state_.current_tab == tab_panel)
        if (TabPage* p = page(tab_panel)) p->read_back();
    if (state_.current_tab == tab_monitor) {
        if (TabPage* p = page(tab_monitor)) p->form_set();
        tim_monitor_.start();
    } else if (state_.current_tab == tab_cable && unit_.task_mode == task_cable) {
        tim_monitor_.start();
    }
}

void MainWindow::tim_monitor_Timer() {
    state_.poll_busy = true;
    tim_monitor_.stop();
    pump_.process_events();

    const bool open =
        link_.link_interface == interface_rs232 ? serial_.is_open() : link_.ethernet_connected;
    const int tab = state_.current_tab;
    if (open && unit_.model_family != not_known && !link_.cmdtx_busy &&
        state_.poll_pos < static_cast<int>(state_.poll_list.size())) {
        link_.quiet_transaction = true;
        const int entry = state_.poll_list[static_cast<std::size_t>(state_.poll_pos)];
        engine_.cmdtx_str(command_text(entry) + "\r");
        if (link_.cmdrx_status == ReplyStatus::Accepted)
            if (TabPage* p = page(tab)) p->poll_reply(entry);
        if (++state_.poll_pos >= static_cast<int>(state_.poll_list.size())) state_.poll_pos = 0;
    }

    link_.quiet_transaction = false;
    if (state_.pending_action != none_pending && !link_.cmdtx_busy && polling_tab()) {
        state_.poll_busy = false;
        take_pending_action();
        if (TabPage* p = page(state_.current_tab)) p->rebuild_poll_list();
    }

    if (!link_.app_closing && polling_tab()) {
        if (!poll_allowed || poll_allowed()) tim_monitor_.start();
        pump_.process_events();
        state_.poll_busy = false;
    }
}

void MainWindow::run_pending_action(int code) {
    switch (code) {
        case pending_link:
            lab_link_Click();
            return;
        case pending_refresh:
            img_refresh_Click();
            return;
        case pending_task_analyser:
            cmd_task_mode_set("analyser");
            return;
        case pending_task_pattern:
            cmd_task_mode_set("pattern");
            return;
        case pending_task_cable:
            cmd_task_mode_set("cable");
            return;
        default:
            break;
    }
    if (code >= 0 && code < static_cast<int>(pending_handlers_.size()))
        if (const auto& fn = pending_handlers_[static_cast<std::size_t>(code)]) fn();
}

}  // namespace t27
