// t27ctl: the command-line front end over the same engine as the window.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <iostream>
#include <string>
#include <vector>

#include "app/program_places.h"
#include "app/t27ctl_cable.h"
#include "app/t27ctl_gen.h"
#include "app/t27ctl_link.h"
#include "app/t27ctl_monitor.h"
#include "app/t27ctl_send.h"
#include "common/version.h"
#include "edid/edid_unit_cli.h"

namespace {

constexpr int exit_usage = 64;

const char* const usage =
    "usage: t27ctl [--tcp HOST[:PORT] | --serial DEVICE|COMn] [--no-link]\n"
    "              [--edid-bin FILE] [--program-dir DIR] [--verbose] send [--json] LINE...\n"
    "       t27ctl [--tcp ... | --serial ...] cable run|stop ...   (cable --help)\n"
    "       t27ctl edid report|check|convert|compare ...             (edid --help)\n"
    "       t27ctl [--tcp ... | --serial ...] edid read SOURCE -o FILE [--hex-type simple|c]\n"
    "       t27ctl [--tcp ... | --serial ...] edid write SLOT FILE\n"
    "       t27ctl [--tcp ... | --serial ...] monitor-report [--section NAME]... [-o FILE]\n"
    "              [--json]                                (monitor-report --help)\n"
    "       t27ctl [--tcp ... | --serial ...] monitor watch [--view V] [--json]\n"
    "              [--duration SECONDS]                    (monitor watch --help)\n"
    "       t27ctl [--tcp ... | --serial ...] monitor check [--edid FILE] [--json]\n"
    "              [--watch [--duration SECONDS]]          (monitor check --help)\n"
    "       t27ctl --version | --help\n"
    "\n"
    "send     opens the link (TCP port 23 unless given; serial at 115200,N,8,1),\n"
    "         identifies the unit unless --no-link, then runs one transaction per\n"
    "         LINE (a CR is appended) and prints its status, the three reply\n"
    "         parameters and the reply as the command monitor logs it.\n"
    "         --edid-bin gives the bytes sent after \"$edid_write\" lines.\n"
    "         --json prints one JSON document instead: {\"link\": {\"model\",\n"
    "         \"family\", \"board\", \"firmware\", \"task\", \"catalogue\"} or null,\n"
    "         \"lines\": [{\"request\", \"status\", \"status_name\", \"param1\",\n"
    "         \"param2\", \"param3\", \"reply\": [logged lines]}]}.\n"
    "         COMn is mapped to a device as the window maps it (com_ports.txt in\n"
    "         the folder where the window keeps the user's files, or in\n"
    "         --program-dir).\n"
    "exit     0 every line Accepted; 2 NoResponse or 3 ErrorReply for the last line\n"
    "         that was not; 1 the link could not be opened or a line was NotSent;\n"
    "         64 usage error.\n";

// The folder t27ctl runs from: this helper sits beside it in a build or a
// portable copy, in a private folder of its own when installed.
QString programs_folder() {
    const QString here = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(here + "/t27ctl") || QFileInfo::exists(here + "/t27ctl.exe")) return here;
    return QDir::cleanPath(here + "/" + QStringLiteral(T27_BIN_FROM_HELPER));
}

int usage_error(const std::string& why) {
    if (!why.empty()) std::cerr << "t27ctl: " << why << "\n";
    std::cerr << usage << t27::t27ctl_generator_usage;
    return exit_usage;
}

}  // namespace

int main(int argc, char** argv) {
    // Started by t27ctl for everything but the EDID file commands.
    std::vector<std::string> args(argv + 1, argv + argc);

    QCoreApplication app(argc, argv);
    t27::LinkOptions o;
    QString dir_given;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            std::cout << usage << t27::t27ctl_generator_usage;
            return 0;
        } else if (a == "--version") {
            std::cout << t27::version_line("t27ctl");
            return 0;
        } else if (a == "--tcp") {
            if (!value(v)) return usage_error("--tcp needs HOST[:PORT]");
            const std::size_t colon = v.rfind(':');
            o.tcp_host = QString::fromStdString(v.substr(0, colon));
            if (colon != std::string::npos) {
                bool ok = false;
                const uint port = QString::fromStdString(v.substr(colon + 1)).toUInt(&ok);
                if (!ok || port == 0 || port > 65535) return usage_error("bad port in --tcp");
                o.tcp_port = static_cast<quint16>(port);
            }
        } else if (a == "--serial") {
            if (!value(v)) return usage_error("--serial needs a device or COMn");
            o.serial = QString::fromStdString(v);
        } else if (a == "--edid-bin") {
            if (!value(v)) return usage_error("--edid-bin needs a file");
            o.edid_bin = QString::fromStdString(v);
        } else if (a == "--program-dir") {
            if (!value(v)) return usage_error("--program-dir needs a folder");
            dir_given = QString::fromStdString(v);
        } else if (a == "--no-link") {
            o.no_link = true;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else {
            break;
        }
    }
    o.places = t27::program_places(dir_given, programs_folder());
    if (i < args.size() && args[i] == "cable") {
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                            args.end());
        const bool help = rest.empty() || rest[0] == "--help";
        if (!help && o.tcp_host.isEmpty() == o.serial.isEmpty())
            return usage_error("give exactly one of --tcp and --serial");
        return t27::t27ctl_cable(o, rest);
    }
    if (i < args.size() && (args[i] == "monitor-report" || args[i] == "monitor")) {
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                            args.end());
        if (!t27::monitor_help_asked(rest) && o.tcp_host.isEmpty() == o.serial.isEmpty())
            return usage_error("give exactly one of --tcp and --serial");
        return args[i] == "monitor" ? t27::t27ctl_monitor(o, rest)
                                    : t27::t27ctl_monitor_report(o, rest);
    }
    if (i < args.size() && t27::t27ctl_generator_verb(args[i])) {
        if (o.tcp_host.isEmpty() == o.serial.isEmpty())
            return usage_error("give exactly one of --tcp and --serial");
        return t27::t27ctl_generator(
            o, args[i],
            std::vector<std::string>(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                     args.end()));
    }
    if (i + 1 < args.size() && args[i] == "edid" && t27::edid_unit_cli_verb(args[i + 1])) {
        if (o.tcp_host.isEmpty() == o.serial.isEmpty())
            return usage_error("give exactly one of --tcp and --serial");
        t27::CliLink link(o);
        if (!link.open()) return 1;
        link.identify();
        return t27::edid_unit_cli(
            link.engine(),
            std::vector<std::string>(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end()),
            std::cout, std::cerr);
    }
    if (i >= args.size() || args[i] != "send") return usage_error("");
    if (o.tcp_host.isEmpty() == o.serial.isEmpty())
        return usage_error("give exactly one of --tcp and --serial");
    bool json = false;
    if (i + 1 < args.size() && args[i + 1] == "--json") {
        json = true;
        ++i;
    }
    QStringList lines;
    for (++i; i < args.size(); ++i)
        lines << QString::fromLatin1(args[i].data(), static_cast<int>(args[i].size()));
    if (lines.isEmpty()) return usage_error("send needs at least one LINE");
    return t27::t27ctl_send(o, lines, json);
}
