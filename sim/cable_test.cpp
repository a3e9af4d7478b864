#include "sim/cable_test.h"

namespace t27::sim {

namespace {

constexpr int test_seconds[cable_time_codes] = {120, 300, 600, 900, 1800, 3600, 0};

}  // namespace

int cable_test_seconds(int time_code) {
    if (time_code < 1 || time_code > cable_time_codes) return 0;
    return test_seconds[time_code - 1];
}

bool CableTest::start(std::int64_t now_ms, int time_code, bool strict) {
    update(now_ms);
    if (running_) return false;
    running_ = true;
    time_code_ = time_code;
    strict_ = strict;
    result_ = "none";
    base_ms_ = 0;
    since_ms_ = now_ms;
    stopped_ms_ = 0;
    return true;
}

std::int64_t CableTest::elapsed_ms(std::int64_t now_ms) const {
    if (!running_) return stopped_ms_;
    const std::int64_t real = now_ms > since_ms_ ? now_ms - since_ms_ : 0;
    return base_ms_ + real * scale_;
}

bool CableTest::fails() const {
    return quality_ == CableQuality::bad || (quality_ == CableQuality::marginal && strict_);
}

std::int64_t CableTest::end_ms() const {
    std::int64_t end = -1;
    const int seconds = cable_test_seconds(time_code_);
    if (seconds > 0) end = std::int64_t{seconds} * 1000;
    if (fails()) {
        const std::int64_t fail = std::int64_t{fail_after_s_} * 1000;
        if (end < 0 || fail < end) end = fail;
    }
    return end;
}

void CableTest::finish(std::int64_t test_ms, const char* verdict) {
    running_ = false;
    stopped_ms_ = test_ms;
    result_ = verdict;
}

void CableTest::update(std::int64_t now_ms) {
    if (!running_) return;
    const std::int64_t end = end_ms();
    if (end < 0 || elapsed_ms(now_ms) < end) return;
    // The clock stops where the test ended, however late the unit is asked.
    finish(end, fails() ? "fail" : "pass");
}

void CableTest::stop(std::int64_t now_ms) {
    update(now_ms);
    if (!running_) return;
    const bool endless = cable_test_seconds(time_code_) == 0;
    finish(elapsed_ms(now_ms), endless ? "pass" : "none");
}

void CableTest::abort(std::int64_t now_ms) {
    update(now_ms);
    if (running_) finish(elapsed_ms(now_ms), "none");
}

CableClock CableTest::clock(std::int64_t now_ms) const {
    const std::int64_t s = elapsed_ms(now_ms) / 1000;
    return CableClock{s / 86400, s / 3600 % 24, s / 60 % 60, s % 60};
}

void CableTest::set_time_scale(std::int64_t now_ms, int scale) {
    update(now_ms);
    if (scale < 1) scale = 1;
    if (running_) {
        base_ms_ = elapsed_ms(now_ms);
        since_ms_ = now_ms;
    }
    scale_ = scale;
}

void CableTest::set_cable(CableQuality q, int fail_after_s) {
    quality_ = q;
    fail_after_s_ = fail_after_s < 1 ? 1 : fail_after_s;
}

}  // namespace t27::sim
