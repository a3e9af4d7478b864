#pragma once
#include <QElapsedTimer>
#include <QTimer>

#include "protocol/pump.h"

namespace t27 {

// Real time on a monotonic clock; events are Qt's. Waiting sleeps in the
// event loop rather than spinning, so a transaction costs no CPU while idle.
class QtPump : public Pump {
public:
    QtPump();
    std::int64_t now_ms() override;
    void process_events() override;
    void wait_events(std::int64_t max_ms) override;

private:
    QElapsedTimer clock_;
    QTimer wake_;
};

}  // namespace t27
