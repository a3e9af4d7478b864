#include "sim/sim_server.h"

#if defined(_WIN32)
#include <winsock2.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

#include "sim/control.h"
#include "sim/socket_io.h"

namespace t27::sim {

namespace {

constexpr std::size_t max_control_line = 4096;
constexpr int default_pty_baud = 115200;

// A link's bytes: a socket, or the pseudo-terminal (POSIX only).
long read_link(int fd, bool is_pty, char* buf, std::size_t n) {
#if !defined(_WIN32)
    if (is_pty) return static_cast<long>(::read(fd, buf, n));
#else
    (void)is_pty;
#endif
    return socket_read(fd, buf, n);
}

long write_link(int fd, bool is_pty, const std::string& bytes) {
#if !defined(_WIN32)
    if (is_pty) return static_cast<long>(::write(fd, bytes.data(), bytes.size()));
#else
    (void)is_pty;
#endif
    return socket_send(fd, bytes.data(), bytes.size());
}

int poll_all(std::vector<pollfd>& fds, int timeout_ms) {
#if defined(_WIN32)
    return ::WSAPoll(fds.data(), static_cast<ULONG>(fds.size()), timeout_ms);
#else
    return ::poll(fds.data(), fds.size(), timeout_ms);
#endif
}

}  // namespace

SimServer::SimServer(UnitModel& model, SimOptions options, std::ostream& announce,
                     std::ostream& log)
    : model_(model), opt_(std::move(options)), announce_(announce), log_(log) {}

SimServer::~SimServer() {
    if (client_) close_socket(client_->fd);
    for (ControlClient& c : controls_) close_socket(c.fd);
    close_socket(listener_);
    close_socket(control_listener_);
    close_socket(udp_);
    close_pty(pty_);
    if (wire_log_) std::fclose(wire_log_);
}

double SimServer::rate_for(bool is_pty) const {
    int baud = opt_.baud;
    if (baud < 0) baud = is_pty ? default_pty_baud : 0;
    return baud > 0 ? serial_bytes_per_ms(baud) : 0.0;
}

bool SimServer::open(std::string& error) {
    if (!opt_.wire_log.empty()) {
        wire_log_ = std::fopen(opt_.wire_log.c_str(), "ab");
        if (!wire_log_) {
            error = "cannot append to " + opt_.wire_log;
            return false;
        }
    }
    if (opt_.pty) {
        if (!open_pty(pty_, opt_.pty_link, error)) return false;
        pty_link_ = std::make_unique<Link>();
        pty_link_->fd = pty_.master;
        pty_link_->is_pty = true;
        pty_link_->session = std::make_unique<UnitSession>(model_);
        pty_link_->queue = OutputQueue(rate_for(true));
        announce_ << "PTY " << pty_.path << std::endl;
    }
    if (opt_.discovery) {
        udp_ = open_udp_socket(opt_.discovery_at, error);
        if (udp_ < 0) return false;
        Endpoint e = bound_endpoint(udp_);
        announce_ << "DISCOVERY " << e.host << ":" << e.port << std::endl;
    }
    if (opt_.control) {
        control_listener_ = open_tcp_listener(opt_.control_at, error);
        if (control_listener_ < 0) return false;
        Endpoint e = bound_endpoint(control_listener_);
        announce_ << "CONTROL " << e.host << ":" << e.port << std::endl;
    }
    if (opt_.tcp) {
        listener_ = open_tcp_listener(opt_.listen, error);
        if (listener_ < 0) return false;
        Endpoint e = bound_endpoint(listener_);
        listen_host_ = e.host;
        announce_ << "LISTEN " << e.host << ":" << e.port << std::endl;
    }
    announce_ << "READY" << std::endl;
    return true;
}

void SimServer::log_wire(const char* data, std::size_t n) {
    if (!wire_log_ || n == 0) return;
    std::fwrite(data, 1, n, wire_log_);
    std::fflush(wire_log_);
}

void SimServer::accept_client() {
    int fd = accept_socket(listener_);
    if (fd < 0) return;
    // The unit serves one client; a new connection takes its place.
    if (client_) drop_link(*client_, "replaced by a new client");
    client_ = std::make_unique<Link>();
    client_->fd = fd;
    client_->session = std::make_unique<UnitSession>(model_);
    client_->queue = OutputQueue(rate_for(false));
    if (!opt_.quiet) log_ << "client " << peer_text(fd) << " connected" << std::endl;
}

void SimServer::drop_link(Link& link, const char* why) {
    if (link.is_pty) {
        // A serial line cannot be closed from the unit's end: the unit
        // forgets the half-received request and what it still had to say.
        link.session = std::make_unique<UnitSession>(model_);
        link.queue.clear();
        link.pending.clear();
        link.close_after = false;
        if (!opt_.quiet) log_ << "pty: " << why << ", line reset" << std::endl;
        return;
    }
    if (!opt_.quiet) log_ << "client " << peer_text(link.fd) << ": " << why << std::endl;
    close_socket(link.fd);
}

void SimServer::serve_link(Link& link) {
    char buf[4096];
    while (link.fd >= 0) {
        const long n = read_link(link.fd, link.is_pty, buf, sizeof buf);
        if (n > 0) {
            log_wire(buf, static_cast<std::size_t>(n));
            std::vector<Emission> out =
                link.session->feed(std::string(buf, static_cast<std::size_t>(n)));
            link.queue.push(out, monotonic_ms());
            continue;
        }
        if (n < 0 && socket_interrupted()) continue;
        if (n < 0 && socket_would_block()) return;
        // End of file or an error. The pty master reports EIO while no one
        // holds the slave; that is not an end for a serial line.
        if (link.is_pty) return;
        drop_link(link, "disconnected");
        return;
    }
}

void SimServer::flush_link(Link& link, std::int64_t now) {
    if (link.fd < 0) return;
    bool close_now = false;
    link.pending += link.queue.take(now, close_now);
    if (close_now) link.close_after = true;
    while (!link.pending.empty()) {
        const long n = write_link(link.fd, link.is_pty, link.pending);
        if (n > 0) {
            link.pending.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && socket_interrupted()) continue;
        if (n < 0 && socket_would_block()) return;
        if (link.is_pty) {
            // Nobody reads the line: what the unit says is lost, as on a cable.
            link.pending.clear();
            break;
        }
        drop_link(link, "write failed");
        return;
    }
    if (link.close_after && link.pending.empty()) drop_link(link, "closed by fault");
}

void SimServer::accept_control() {
    int fd = accept_socket(control_listener_);
    if (fd < 0) return;
    controls_.push_back(ControlClient{fd, {}, {}});
}

void SimServer::serve_control(ControlClient& c) {
    char buf[1024];
    while (true) {
        const long n = socket_read(c.fd, buf, sizeof buf);
        if (n > 0) {
            c.in.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && socket_interrupted()) continue;
        if (n < 0 && socket_would_block()) break;
        close_socket(c.fd);
        return;
    }
    std::size_t nl;
    while ((nl = c.in.find('\n')) != std::string::npos) {
        std::string line = c.in.substr(0, nl);
        c.in.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "help") {
            c.out += control_help();
            c.out += "ok\n";
        } else {
            std::string answer = run_control(model_, line);
            if (!opt_.quiet) log_ << "control: " << line << " -> " << answer << std::endl;
            c.out += answer + "\n";
        }
    }
    if (c.in.size() > max_control_line) {
        c.in.clear();
        c.out += "error: line too long\n";
    }
    while (!c.out.empty()) {
        const long n = socket_send(c.fd, c.out.data(), c.out.size());
        if (n <= 0) break;
        c.out.erase(0, static_cast<std::size_t>(n));
    }
}

std::string SimServer::discovery_reply() const {
    DiscoveryIdentity id = opt_.discovery_id;
    if (!opt_.discovery_name_given) id.name = model_.state().identity.model;
    if (!opt_.discovery_ip_given && !listen_host_.empty() && listen_host_ != "0.0.0.0")
        parse_ipv4(listen_host_, id.ip);
    return discovery_answer(id, opt_.discovery_malformed);
}

void SimServer::serve_discovery() {
    // Answers go back to the asker only, never to a group or broadcast.
    answer_datagrams(udp_, [this](std::string_view datagram) -> std::optional<std::string> {
        if (!is_discovery_request(datagram)) return std::nullopt;
        return discovery_reply();
    });
}

void SimServer::run(const volatile std::sig_atomic_t* stop) {
    while (!*stop) {
        std::int64_t now = monotonic_ms();
        Link* links[] = {client_.get(), pty_link_.get()};
        int timeout = 200;
        // Wake when a glitch ends, so its end is logged on time.
        model_.settle_glitch();
        if (const std::optional<std::int64_t> left = model_.glitch_left_ms())
            timeout = static_cast<int>(std::min<std::int64_t>(timeout, *left));
        for (Link* l : links) {
            if (!l || l->fd < 0) continue;
            flush_link(*l, now);
            std::int64_t w = l->queue.wait_ms(now);
            if (w >= 0) timeout = static_cast<int>(std::min<std::int64_t>(timeout, w));
        }
        if (client_ && client_->fd < 0) client_.reset();
        controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                       [](const ControlClient& c) { return c.fd < 0; }),
                        controls_.end());

        std::vector<pollfd> fds;
        auto watch = [&](int fd, short events) {
            pollfd p{};
            p.fd = fd;  // a SOCKET on Windows
            p.events = events;
            fds.push_back(p);
        };
        if (listener_ >= 0) watch(listener_, POLLIN);
        if (control_listener_ >= 0) watch(control_listener_, POLLIN);
        if (udp_ >= 0) watch(udp_, POLLIN);
        for (Link* l : {client_.get(), pty_link_.get()})
            if (l && l->fd >= 0)
                watch(l->fd, static_cast<short>(POLLIN | (l->pending.empty() ? 0 : POLLOUT)));
        for (ControlClient& c : controls_) watch(c.fd, POLLIN);

        int r = poll_all(fds, timeout);
        if (r < 0) continue;  // a signal; the loop condition decides
        if (r == 0) continue;
        if (listener_ >= 0 && fds[0].revents) accept_client();
        if (control_listener_ >= 0) accept_control();
        if (udp_ >= 0) serve_discovery();
        if (client_ && client_->fd >= 0) serve_link(*client_);
        if (pty_link_) serve_link(*pty_link_);
        for (ControlClient& c : controls_)
            if (c.fd >= 0) serve_control(c);
    }
}

}  // namespace t27::sim
