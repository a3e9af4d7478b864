#pragma once
// The unit model behind a pseudo-terminal, served from inside the test
// process: the program opens the slave side as its serial port.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>

#include "sim/unit_session.h"

namespace t27::testing {

class QtSimPty : public QObject {
public:
    explicit QtSimPty(sim::UnitModel& model) : session_(model) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        slave_path_ = ::ptsname(master_);
        // Keep a slave descriptor open so the pty does not hang up between the
        // program's open and close; raw mode so CR and LF pass untouched.
        keeper_ = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        if (keeper_ >= 0 && ::tcgetattr(keeper_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(keeper_, TCSANOW, &t);
        }
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { read(); });
    }
    ~QtSimPty() override { vanish(); }

    const std::string& slave_path() const { return slave_path_; }
    const std::string& wire() const { return session_.wire_log(); }

    // The device disappears, as a pulled USB adapter does.
    void vanish() {
        notifier_.reset();
        if (keeper_ >= 0) ::close(keeper_);
        if (master_ >= 0) ::close(master_);
        keeper_ = master_ = -1;
    }

private:
    void read() {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            std::int64_t t = 0;
            for (const sim::Emission& e : session_.feed(std::string(buf, static_cast<std::size_t>(n)))) {
                t += e.delay_ms;
                const std::string out = e.bytes;
                QTimer::singleShot(static_cast<int>(t), this, [this, out] {
                    if (master_ >= 0 && !out.empty()) (void)!::write(master_, out.data(), out.size());
                });
            }
        }
    }

    sim::UnitSession session_;
    int master_ = -1;
    int keeper_ = -1;
    std::string slave_path_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace t27::testing
