#pragma once
// t27-unit-sim started as a child process that answers discovery on a
// loopback UDP port of its own choosing.
#include <QProcess>
#include <QStringList>
#include <memory>
#include <string>

namespace t27::testing {

class SimDiscoveryProcess {
  public:
    // Extra options (name, IP, MAC, malformed answers) come after the fixed ones.
    bool start(const QStringList& extra) {
        proc_ = std::make_unique<QProcess>();
        proc_->setProcessChannelMode(QProcess::SeparateChannels);
        QStringList args = {"--listen", "127.0.0.1:0", "--discovery", "127.0.0.1:0", "--quiet"};
        args += extra;
        proc_->start(QStringLiteral(T27_SIM_BIN), args);
        if (!proc_->waitForStarted(5000)) return false;
        for (;;) {
            if (!proc_->canReadLine() && !proc_->waitForReadyRead(5000)) return false;
            while (proc_->canReadLine()) {
                const std::string line = proc_->readLine().trimmed().toStdString();
                const std::string key = "DISCOVERY 127.0.0.1:";
                if (line.rfind(key, 0) == 0) port_ = std::stoi(line.substr(key.size()));
                if (line == "READY") return port_ > 0;
            }
        }
    }

    quint16 port() const { return static_cast<quint16>(port_); }

    ~SimDiscoveryProcess() {
        if (proc_ && proc_->state() != QProcess::NotRunning) {
            proc_->terminate();
            if (!proc_->waitForFinished(3000)) proc_->kill();
            proc_->waitForFinished(1000);
        }
    }

  private:
    std::unique_ptr<QProcess> proc_;
    int port_ = 0;
};

}  // namespace t27::testing
