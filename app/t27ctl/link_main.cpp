// t27ctl-link: the commands of t27ctl that talk to a unit. t27ctl has read
// the command line with the same tree and handed it on only when it named
// such a command with its link, so a usage error cannot surface here.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <iostream>
#include <string>
#include <vector>

#include "settings/qt/program_places.h"
#include "app/t27ctl/cable.h"
#include "app/t27ctl/command_line.h"
#include "app/t27ctl/edid_unit.h"
#include "app/t27ctl/generator.h"
#include "app/t27ctl/link.h"
#include "app/t27ctl/monitor.h"
#include "app/t27ctl/send.h"

namespace {

// The folder t27ctl runs from: this helper sits beside it in a build or a
// portable copy, in a private folder of its own when installed.
QString programs_folder() {
    const QString here = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(here + "/t27ctl") || QFileInfo::exists(here + "/t27ctl.exe")) return here;
    return QDir::cleanPath(here + "/" + QStringLiteral(T27_BIN_FROM_HELPER));
}

t27::LinkOptions link_options(const t27::CtlLinkArgs& a) {
    t27::LinkOptions o;
    o.tcp_host = QString::fromStdString(a.tcp_host);
    o.tcp_port = static_cast<quint16>(a.tcp_port);
    o.serial = QString::fromStdString(a.serial);
    o.edid_bin = QString::fromStdString(a.edid_bin);
    o.no_link = a.no_link;
    o.verbose = a.verbose;
    o.places = t27::program_places(QString::fromStdString(a.program_dir), programs_folder());
    return o;
}

int edid_unit_command(const t27::LinkOptions& o, const t27::CtlArgs& a) {
    t27::CliLink link(o);
    if (!link.open()) return 1;
    link.identify();
    return a.command == t27::CtlCommand::edid_read
               ? t27::edid_read_run(link.engine(), a, std::cout, std::cerr)
               : t27::edid_write_run(link.engine(), a, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    t27::CtlArgs a;
    if (const auto done = t27::ctl_parse(args, a, std::cout, std::cerr)) return *done;

    QCoreApplication app(argc, argv);
    const t27::LinkOptions o = link_options(a.link);
    using t27::CtlCommand;
    switch (a.command) {
        case CtlCommand::send:
            return t27::t27ctl_send(o, a.words, a.json);
        case CtlCommand::cable_run:
        case CtlCommand::cable_stop:
            return t27::t27ctl_cable(o, a);
        case CtlCommand::edid_read:
        case CtlCommand::edid_write:
            return edid_unit_command(o, a);
        case CtlCommand::monitor_report:
            return t27::t27ctl_monitor_report(o, a);
        case CtlCommand::monitor_watch:
            return t27::t27ctl_monitor_watch(o, a);
        case CtlCommand::monitor_check:
            return t27::t27ctl_monitor_check(o, a);
        case CtlCommand::task:
            return t27::t27ctl_task(o, a);
        case CtlCommand::timing_list:
        case CtlCommand::pattern_list:
            return t27::t27ctl_catalogue_list(o, a.command == CtlCommand::timing_list, a.json);
        case CtlCommand::timing_set:
        case CtlCommand::pattern_set:
            return t27::t27ctl_catalogue_set(o, a.command == CtlCommand::timing_set, a);
        case CtlCommand::panel_list:
            return t27::t27ctl_panel_list(o, a.json);
        case CtlCommand::panel_set:
            return t27::t27ctl_panel_set(o, a);
        case CtlCommand::sweep:
            return t27::t27ctl_sweep(o, a);
        default:
            break;
    }
    return t27::ctl_usage_error(std::cerr, "", "not a command that talks to a unit");
}
