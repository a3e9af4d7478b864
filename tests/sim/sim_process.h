#pragma once
// Runs t27-unit-sim as a child process for the front-end tests and reads the
// addresses it announces.
#include <map>
#include <string>
#include <vector>

namespace t27::sim::testing {

class SimProcess {
  public:
    // Starts the simulator with `args` and waits (up to 10 s) for "READY".
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();

    bool ready() const { return ready_; }
    // The value after an announced word: "LISTEN" → "127.0.0.1:40123".
    std::string announced(const std::string& word) const;
    int port_of(const std::string& word) const;

    // Sends SIGTERM and returns the exit status (-1 on timeout or signal).
    int terminate();

  private:
    int pid_ = -1;
    int out_fd_ = -1;
    bool ready_ = false;
    std::map<std::string, std::string> announced_;
};

// A blocking loopback TCP connection with a receive timeout.
int connect_loopback(int port);
// Reads until `n` bytes arrived or `timeout_ms` passed.
std::string read_n(int fd, std::size_t n, int timeout_ms);
// Reads whatever arrives within `timeout_ms`; stops early at end of file.
std::string read_for(int fd, int timeout_ms, bool* eof = nullptr);
bool write_all(int fd, const std::string& bytes);

}  // namespace t27::sim::testing
