#include "sim_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace t27::sim::testing {

namespace {

std::int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int pipefd[2];
    if (::pipe(pipefd) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipefd[1], 1);
        ::close(pipefd[0]);
        ::close(pipefd[1]);
        std::vector<char*> argv;
        std::string path = T27_UNIT_SIM_PATH;
        argv.push_back(path.data());
        std::vector<std::string> copy = args;
        copy.push_back("--quiet");
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipefd[1]);
    out_fd_ = pipefd[0];
    std::string buf;
    std::int64_t deadline = now_ms() + 10000;
    while (!ready_ && now_ms() < deadline) {
        pollfd p{out_fd_, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) continue;
        char c[256];
        ssize_t n = ::read(out_fd_, c, sizeof c);
        if (n <= 0) break;
        buf.append(c, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = buf.find('\n')) != std::string::npos) {
            std::string line = buf.substr(0, nl);
            buf.erase(0, nl + 1);
            if (line == "READY") ready_ = true;
            std::size_t blank = line.find(' ');
            if (blank != std::string::npos)
                announced_[line.substr(0, blank)] = line.substr(blank + 1);
        }
    }
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_fd_ >= 0) ::close(out_fd_);
}

std::string SimProcess::announced(const std::string& word) const {
    auto it = announced_.find(word);
    return it == announced_.end() ? std::string() : it->second;
}

int SimProcess::port_of(const std::string& word) const {
    std::string a = announced(word);
    std::size_t colon = a.rfind(':');
    return colon == std::string::npos ? -1 : std::stoi(a.substr(colon + 1));
}

int SimProcess::terminate() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    std::int64_t deadline = now_ms() + 5000;
    while (now_ms() < deadline) {
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        ::usleep(10000);
    }
    return -1;
}

int connect_loopback(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, 1 /* TCP_NODELAY */, &one, sizeof one);
    return fd;
}

std::string read_n(int fd, std::size_t n, int timeout_ms) {
    std::string out;
    std::int64_t deadline = now_ms() + timeout_ms;
    while (out.size() < n) {
        std::int64_t left = deadline - now_ms();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buf[4096];
        ssize_t r = ::read(fd, buf, std::min(sizeof buf, n - out.size()));
        if (r <= 0) break;
        out.append(buf, static_cast<std::size_t>(r));
    }
    return out;
}

std::string read_for(int fd, int timeout_ms, bool* eof) {
    std::string out;
    if (eof) *eof = false;
    std::int64_t deadline = now_ms() + timeout_ms;
    while (true) {
        std::int64_t left = deadline - now_ms();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buf[4096];
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r <= 0) {
            if (eof) *eof = true;
            break;
        }
        out.append(buf, static_cast<std::size_t>(r));
    }
    return out;
}

bool write_all(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace t27::sim::testing
