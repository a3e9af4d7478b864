#pragma once
// The front ends of t27-unit-sim on one single-threaded poll() loop: the TCP
// server, the pseudo-terminal, the discovery responder and the control
// channel, all in front of one UnitModel.
#include <csignal>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "sim/output_queue.h"
#include "sim/pty_port.h"
#include "sim/sim_options.h"
#include "sim/unit_session.h"

namespace t27::sim {

class SimServer {
  public:
    SimServer(UnitModel& model, SimOptions options, std::ostream& announce, std::ostream& log);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens every front end asked for and prints where each one is, ending
    // with "READY". False with `error` set when one cannot be opened.
    bool open(std::string& error);

    // Serves until *stop turns non-zero.
    void run(const volatile std::sig_atomic_t* stop);

  private:
    // One byte pipe to the program: a TCP client or the pty master.
    struct Link {
        int fd = -1;
        bool is_pty = false;
        std::unique_ptr<UnitSession> session;
        OutputQueue queue;
        std::string pending;       // released but not yet accepted by the descriptor
        bool close_after = false;  // close once `pending` is written
    };
    struct ControlClient {
        int fd = -1;
        std::string in;
        std::string out;
    };

    void accept_client();
    void accept_control();
    void serve_link(Link& link);
    void flush_link(Link& link, std::int64_t now);
    void drop_link(Link& link, const char* why);
    void serve_control(ControlClient& c);
    void serve_discovery();
    void log_wire(const char* data, std::size_t n);
    std::string discovery_reply() const;
    double rate_for(bool is_pty) const;

    UnitModel& model_;
    SimOptions opt_;
    std::ostream& announce_;
    std::ostream& log_;
    int listener_ = -1;
    int control_listener_ = -1;
    int udp_ = -1;
    PtyPort pty_;
    std::unique_ptr<Link> client_;
    std::unique_ptr<Link> pty_link_;
    std::vector<ControlClient> controls_;
    std::FILE* wire_log_ = nullptr;
    std::string listen_host_;
};

}  // namespace t27::sim
