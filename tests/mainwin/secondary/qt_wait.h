#pragma once
// Real-time waiting for the widget tests: events run while the test waits.
#include <QCoreApplication>
#include <chrono>
#include <functional>

namespace t27::testing {

// Processes events until `done` or the timeout; true when done.
inline bool wait_for(const std::function<bool()>& done, int timeout_ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline void run_events_for(int ms) {
    wait_for([] { return false; }, ms);
}

}  // namespace t27::testing
