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
            std::cerr << "t27ctl: Client could not find Server.\n";
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
        std::cerr << "t27ctl: RS-232 can not work on " << from_qt(options_.serial) << ": ! ("
                  << from_qt(why) << ")\n";
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
    return json::Object()
        .add("model", view_.model)
        .add("family", unit_.model_family)
        .add("board", unit_.board_id)
        .add("firmware", view_.fw)
        .add("task", task_mode_text(unit_.task_mode))
        .add("catalogue", view_.catalogue)
        .str();
}

LoadedCatalogue CliLink::load_catalogue() const {
    return catalogue_load(catalogue_dir(options_.places, view_.catalogue), view_.catalogue);
}

}  // namespace t27
