#pragma once
// t27-unit-sim as a separate process, started the way a user starts it, so a
// benchmark pays for the real socket or pseudo-terminal in between.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

namespace t27::bench {

class SimChild {
  public:
    SimChild() = default;
    SimChild(const SimChild&) = delete;
    SimChild& operator=(const SimChild&) = delete;
    ~SimChild();

    // Starts `program` and waits for its READY line; false (with the reason
    // in `error`) when it did not come up.
    bool start(const QString& program, const QStringList& args, std::string& error);

    // The TCP port from the LISTEN line, 0 when it serves no TCP.
    int tcp_port() const;
    // The slave side of its pseudo-terminal, empty when it serves none.
    const std::string& pty() const { return pty_; }

  private:
    std::unique_ptr<QProcess> proc_;
    std::string listen_;
    std::string pty_;
};

// t27-unit-sim beside the running benchmark in the build's bin folder.
QString sim_program();

}  // namespace t27::bench
