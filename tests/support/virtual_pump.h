#pragma once
// Virtual time for engine tests: the clock only moves when the engine waits,
// and scheduled deliveries run when it reaches them.
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "protocol/pump.h"

namespace t27::testing {

class VirtualPump : public Pump {
public:
    std::int64_t now_ms() override { return now_; }

    void process_events() override {
        ++process_calls;
        run_due();
    }

    void wait_events(std::int64_t max_ms) override {
        const std::int64_t deadline = now_ + (max_ms > 0 ? max_ms : 1);
        if (!events_.empty() && events_.begin()->first < deadline)
            now_ = std::max(now_, events_.begin()->first);
        else
            now_ = deadline;
        run_due();
    }

    // Runs `fn` once the clock reaches now + delay.
    void at(std::int64_t delay_ms, std::function<void()> fn) {
        events_.emplace(now_ + delay_ms, std::move(fn));
    }

    void advance(std::int64_t ms) {
        const std::int64_t end = now_ + ms;
        while (!events_.empty() && events_.begin()->first <= end) {
            now_ = std::max(now_, events_.begin()->first);
            run_due();
        }
        now_ = end;
    }

    bool idle() const { return events_.empty(); }
    int process_calls = 0;

private:
    void run_due() {
        while (!events_.empty() && events_.begin()->first <= now_) {
            auto fn = std::move(events_.begin()->second);
            events_.erase(events_.begin());
            fn();
        }
    }

    std::int64_t now_ = 0;
    std::multimap<std::int64_t, std::function<void()>> events_;
};

}  // namespace t27::testing
