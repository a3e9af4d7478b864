#include "bench/sim_child.h"

#include <QCoreApplication>

namespace t27::bench {

namespace {

constexpr int start_wait_ms = 10000;

}  // namespace

QString sim_program() { return QCoreApplication::applicationDirPath() + "/t27-unit-sim"; }

SimChild::~SimChild() {
    if (proc_ && proc_->state() != QProcess::NotRunning) {
        proc_->terminate();
        if (!proc_->waitForFinished(3000)) proc_->kill();
        proc_->waitForFinished(1000);
    }
}

bool SimChild::start(const QString& program, const QStringList& args, std::string& error) {
    proc_ = std::make_unique<QProcess>();
    // Its stderr is of no interest and must never fill up and stall it.
    proc_->setStandardErrorFile(QProcess::nullDevice());
    proc_->start(program, args);
    if (!proc_->waitForStarted(start_wait_ms)) {
        error = "cannot start " + program.toStdString();
        return false;
    }
    for (;;) {
        if (!proc_->canReadLine() && !proc_->waitForReadyRead(start_wait_ms)) {
            error = program.toStdString() + " did not report READY";
            return false;
        }
        while (proc_->canReadLine()) {
            const std::string line = proc_->readLine().trimmed().toStdString();
            if (line.rfind("LISTEN ", 0) == 0) listen_ = line.substr(7);
            if (line.rfind("PTY ", 0) == 0) pty_ = line.substr(4);
            if (line == "READY") return true;
        }
    }
}

int SimChild::tcp_port() const {
    const std::size_t colon = listen_.rfind(':');
    if (colon == std::string::npos) return 0;
    return std::stoi(listen_.substr(colon + 1));
}

}  // namespace t27::bench
