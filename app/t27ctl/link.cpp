#include "app/t27ctl/link.h"

#include <iostream>

#include "common/json_out.h"
#include "common/qt/qt_text.h"
#include "protocol/com_map.h"
#include "protocol/qt/serial_ports.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr int connect_wait_ms = 7000;

}  // namespace

void CliView::show_message(const std::string& text, MessageIcon) {
    std::cerr << "t27ctl: " << text << "\n";
}

void CliView::set_link_label(const std::string& caption, Colour) {
    if (verbose_) std::cerr << "link: " << caption << "\n";
}

CliLink::CliLink(const LinkOptions& options)
    : options_(options),
      view_(options.verbose),
      engine_(link_, unit_, pump_, view_),
      serial_(pump_) {
    engine_.set_ethernet(&tcp_);
    engine_.set_serial(&serial_);
    serial_.on_read_failure = [this] {
        serial_.close();
        link_.serial_open = false;
    };
}

CliLink::~CliLink() {
    serial_.close();
    tcp_.close();
}

bool CliLink::open() {
    if (!options_.tcp_host.isEmpty()) {
        link_.link_interface = interface_ethernet;
        tcp_.connect_to(options_.tcp_host, options_.tcp_port);
        const std::int64_t start = pump_.now_ms();
        while (!tcp_.connected() && pump_.now_ms() - start < connect_wait_ms &&
               tcp_.socket().state() != QAbstractSocket::UnconnectedState)
            pump_.wait_events(50);
        if (!tcp_.connected()) {
            open_failure_ = "Client could not find Server.";
            std::cerr << "t27ctl: " << open_failure_ << "\n";
            return false;
        }
        link_.ethernet_connected = true;
        tcp_.on_closed = [this] { link_.ethernet_connected = false; };
        return true;
    }
    link_.link_interface = interface_rs232;
    const std::string device = serial_device_for(
        from_qt(options_.serial), program_path(options_.places.user, com_map_file_name));
    QString why;
    if (!serial_.open(to_qt(device), &why)) {
        open_failure_ =
            "RS-232 can not work on " + from_qt(options_.serial) + ": ! (" + from_qt(why) + ")";
        std::cerr << "t27ctl: " << open_failure_ << "\n";
        const std::string hint = serial_permission_hint(device);
        if (!hint.empty()) std::cerr << "t27ctl: " << hint << "\n";
        return false;
    }
    link_.serial_open = true;
    return true;
}

void CliLink::identify(bool print) {
    link_sequence(engine_, view_);
    if (!print) return;
    std::cout << "link: model=" << terminal_text(view_.model) << " family=" << unit_.model_family
              << " board=" << unit_.board_id << " " << terminal_text(view_.fw)
              << " task=" << task_mode_text(unit_.task_mode)
              << " catalogue=" << terminal_text(view_.catalogue)
              << "\n";
}

std::string CliLink::link_json() const {
    if (unit_.model_family == not_known) return "null";
    return json::Object()
        .add("model", view_.model)
        .add("family", unit_.model_family)
        .add("board", unit_.board_id)
        .add("firmware", firmware_version(view_.fw))
        .add("task", task_mode_text(unit_.task_mode))
        .add("catalogue", view_.catalogue)
        .str();
}

std::string CliLink::failure_json(const std::string& error) const {
    return json::Object().add_raw("link", link_json()).add("error", error).str();
}

LoadedCatalogue CliLink::load_catalogue() const {
    return catalogue_load(options_.places, view_.catalogue);
}

std::string firmware_version(const std::string& caption) {
    std::string_view v = caption;
    if (v.rfind("FW:", 0) == 0) v.remove_prefix(3);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    return std::string(v);
}

}  // namespace t27
