#include "app/t27ctl_send.h"

#include <QSerialPortInfo>
#include <cstdio>
#include <iostream>

#include "common/atomic_write.h"
#include "common/qt_text.h"
#include "protocol/com_map.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "protocol/qt_pump.h"
#include "protocol/qt_serial_transport.h"
#include "protocol/qt_tcp_transport.h"

namespace t27 {

namespace {

constexpr int exit_link_failed = 1;
constexpr int connect_wait_ms = 7000;

// What the window would show in a message box goes to stderr.
class CliView : public EngineView, public LinkHooks {
public:
    explicit CliView(bool verbose) : verbose_(verbose) {}
    void show_message(const std::string& text, MessageIcon) override {
        std::cerr << "t27ctl: " << text << "\n";
    }
    void set_link_label(const std::string& caption, Colour) override {
        if (verbose_) std::cerr << "link: " << caption << "\n";
    }
    void set_model_caption(const std::string& t) override { model = t; }
    void set_fw_caption(const std::string& t) override { fw = t; }
    void load_catalogue(const std::string& f) override { catalogue = f; }

    std::string model, fw, catalogue;

private:
    bool verbose_;
};

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

// The reply as the command monitor logs it, one indented line per logged line.
void print_log(const std::string& log) {
    std::string line;
    bool any = false;
    auto flush = [&] {
        std::cout << (any ? "        " : "  reply: ") << line << "\n";
        any = true;
        line.clear();
    };
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') {
            flush();
            ++i;
        } else {
            line += log[i];
        }
    }
    if (!line.empty() || !any) flush();
}

}  // namespace

int t27ctl_send(const LinkOptions& o, const QStringList& lines) {
    LinkState link;
    UnitIdentity unit;
    QtPump pump;
    CliView view(o.verbose);
    Engine engine(link, unit, pump, view);
    QtTcpTransport tcp;
    QtSerialTransport serial(pump);
    engine.set_ethernet(&tcp);
    engine.set_serial(&serial);
    serial.on_read_failure = [&] {
        serial.close();
        link.serial_open = false;
    };

    if (!o.edid_bin.isEmpty()) {
        std::string bytes, why;
        if (!read_file_bytes(from_qt(o.edid_bin), bytes, &why, 1 << 20)) {
            std::cerr << "t27ctl: " << why << "\n";
            return exit_link_failed;
        }
        for (std::size_t i = 0; i < bytes.size() && i < 256; ++i)
            engine.edid_tx_data()[i] = static_cast<std::uint8_t>(bytes[i]);
    }

    if (!o.tcp_host.isEmpty()) {
        link.link_interface = interface_ethernet;
        tcp.connect_to(o.tcp_host, o.tcp_port);
        const std::int64_t start = pump.now_ms();
        while (!tcp.connected() && pump.now_ms() - start < connect_wait_ms &&
               tcp.socket().state() != QAbstractSocket::UnconnectedState)
            pump.wait_events(50);
        if (!tcp.connected()) {
            std::cerr << "t27ctl: Client could not find Server.\n";
            return exit_link_failed;
        }
        link.ethernet_connected = true;
        tcp.on_closed = [&] { link.ethernet_connected = false; };
    } else {
        link.link_interface = interface_rs232;
        const std::string device = resolve_serial(o);
        QString why;
        if (!serial.open(to_qt(device), &why)) {
            std::cerr << "t27ctl: RS-232 can not work on " << from_qt(o.serial) << ": ! ("
                      << from_qt(why) << ")\n";
            return exit_link_failed;
        }
        link.serial_open = true;
    }

    if (!o.no_link) {
        link_sequence(engine, view);
        std::cout << "link: model=" << view.model << " family=" << unit.model_family
                  << " board=" << unit.board_id << " " << view.fw
                  << " task=" << task_mode_text(unit.task_mode)
                  << " catalogue=" << view.catalogue << "\n";
    }

    int exit_code = 0;
    for (const QString& qline : lines) {
        const std::string line = from_qt(qline);
        link.eot_reply = line.rfind("$?", 0) == 0 || line.rfind("$help", 0) == 0;
        link.block_follows = cmdstr_cmd_get(line + "\r") == "$edid_read";
        link.monitor_on = true;
        link.monitor_log.clear();
        engine.cmdtx_str(line + "\r");
        link.block_follows = false;
        link.eot_reply = false;
        const ReplyStatus st = link.cmdrx_status;
        std::cout << "> " << line << "\n"
                  << "  status: " << static_cast<int>(st) << " " << reply_status_name(st) << "\n"
                  << "  param1: " << link.cmdrx_param1 << "\n"
                  << "  param2: " << link.cmdrx_param2 << "\n"
                  << "  param3: " << link.cmdrx_param3 << "\n";
        print_log(link.monitor_log);
        std::cout.flush();
        if (st == ReplyStatus::NotSent)
            exit_code = exit_link_failed;
        else if (st != ReplyStatus::Accepted && exit_code != exit_link_failed)
            exit_code = static_cast<int>(st);
    }
    serial.close();
    tcp.close();
    return exit_code;
}

}  // namespace t27
