#pragma once
// Starting t27-unit-sim and t27ctl as separate processes, as a user would.
#include <QProcess>
#include <QStringList>
#include <memory>
#include <string>

#include "tests/support/sim_control.h"

namespace t27::testing {

// A running simulator; stopped (SIGTERM) when this goes away.
struct SimProcess {
    std::unique_ptr<QProcess> proc;
    std::string listen;  // "127.0.0.1:PORT"
    std::string pty;     // "/dev/pts/N"
    std::string control;

    bool start(const QStringList& args) {
        proc = std::make_unique<QProcess>();
        proc->setProcessChannelMode(QProcess::SeparateChannels);
        proc->start(QStringLiteral(T27_SIM_BIN), args);
        if (!proc->waitForStarted(5000)) return false;
        for (;;) {
            if (!proc->canReadLine() && !proc->waitForReadyRead(5000)) return false;
            while (proc->canReadLine()) {
                const std::string line = proc->readLine().trimmed().toStdString();
                auto take = [&](const char* key, std::string& out) {
                    const std::string k = std::string(key) + " ";
                    if (line.rfind(k, 0) == 0) out = line.substr(k.size());
                };
                take("LISTEN", listen);
                take("PTY", pty);
                take("CONTROL", control);
                if (line == "READY") return true;
            }
        }
    }

    // One line on the control channel; the simulator's answer ("ok" or
    // "error: ..."). Needs --control.
    std::string control_line(const std::string& line) const {
        const std::size_t colon = control.rfind(':');
        if (colon == std::string::npos) return "no control channel";
        return sim_control_line(QString::fromStdString(control.substr(0, colon)),
                                static_cast<quint16>(std::stoi(control.substr(colon + 1))), line);
    }

    ~SimProcess() {
        if (proc && proc->state() != QProcess::NotRunning) {
            proc->terminate();
            if (!proc->waitForFinished(3000)) proc->kill();
            proc->waitForFinished(1000);
        }
    }
};

struct CtlResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

inline CtlResult run_ctl(const QStringList& args, int timeout_ms = 30000) {
    QProcess p;
    p.start(QStringLiteral(T27CTL_BIN), args);
    CtlResult r;
    if (!p.waitForFinished(timeout_ms)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.exit_code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

inline int count_of(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (std::size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) ++n;
    return n;
}

}  // namespace t27::testing
