#pragma once
// `t27ctl send`: open a link, identify the unit, run one transaction per line.
#include <QString>
#include <QStringList>
#include <string>

namespace t27 {

struct LinkOptions {
    QString tcp_host;       // set for a TCP link
    quint16 tcp_port = 23;
    QString serial;         // device path or "COMn"
    QString program_dir;    // where com_ports.txt is looked up
    bool no_link = false;
    QString edid_bin;       // bytes for "$edid_write" blocks
    bool verbose = false;
};

int t27ctl_send(const LinkOptions& options, const QStringList& lines);

}  // namespace t27
