#pragma once
// One line on t27-unit-sim's control channel, as a test sends it.
#include <QTcpSocket>
#include <string>

namespace t27::testing {

// The simulator's answer ("ok" or "error: ..."), or what went wrong.
inline std::string sim_control_line(const QString& host, quint16 port, const std::string& line) {
    QTcpSocket s;
    s.connectToHost(host, port);
    if (!s.waitForConnected(2000)) return "no control channel";
    const std::string whole = line + "\n";  // a NUL in the line goes too
    s.write(whole.data(), static_cast<qint64>(whole.size()));
    s.flush();
    while (!s.canReadLine())
        if (!s.waitForReadyRead(2000)) return "no answer";
    return s.readLine().trimmed().toStdString();
}

}  // namespace t27::testing
