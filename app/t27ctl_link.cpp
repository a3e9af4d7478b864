#include "app/t27ctl_link.h"

#include <QSerialPortInfo>
#include <iostream>

#include "common/atomic_write.h"
#include "common/qt_text.h"
#include "protocol/com_map.h"

namespace t27 {

namespace {

constexpr int connect_wait_ms = 7000;

std::string resolve_serial(const LinkOptions& o) {
    const std::string name = from_qt(o.serial);
    const int com = parse_com_name(name);
    if (com == 0 || name.find('/') != std::string::npos) return name;
    std::vector<std::string> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        found.push_back(from_qt(info.systemLocation()));
    std::string map_text;
    read_file_bytes(from_qt(o.program_dir) + "/" + com_map_file_name, map_text, nullptr, 64 * 1024);
    return build_com_map(found, map_text).device_for(com);
}

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
    const std::string device = resolve_serial(options_);
    QString why;
    if (!serial_.open(to_qt(device), &why)) {
        std::cerr << "t27ctl: RS-232 can not work on " << from_qt(options_.serial) << ": ! ("
                  << from_qt(why) << ")\n";
        return false;
    }
    link_.serial_open = true;
    return true;
}

void CliLink::identify() {
    link_sequence(engine_, view_);
    std::cout << "link: model=" << view_.model << " family=" << unit_.model_family
              << " board=" << unit_.board_id << " " << view_.fw
              << " task=" << task_mode_text(unit_.task_mode) << " catalogue=" << view_.catalogue
              << "\n";
}

}  // namespace t27
