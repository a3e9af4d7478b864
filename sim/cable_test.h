#pragma once
// The unit's cable test: runs on the unit's own clock, finishes a timed test
// by itself and fails a poor cable when its errors show. Time can be sped up
// so a two-minute test passes in seconds.
#include <cstdint>
#include <string>

namespace t27::sim {

// The cable plugged into the unit: a good one passes at both levels, a
// marginal one only at "normal", a bad one at neither.
enum class CableQuality { good, marginal, bad };

inline constexpr int cable_time_codes = 7;  // 1..6 timed, 7 endless
inline constexpr int cable_time_endless = 7;

// Seconds of test time for a time code; 0 for the endless test or a code
// outside 1..7.
int cable_test_seconds(int time_code);

struct CableClock {
    std::int64_t day = 0, hour = 0, minute = 0, second = 0;
};

class CableTest {
  public:
    // Starts a test (time code 1..7) unless one runs; false when one does.
    bool start(std::int64_t now_ms, int time_code, bool strict);
    // Stops a running test. An endless test that saw no errors passes; a
    // timed test that did not reach its end has no verdict.
    void stop(std::int64_t now_ms);
    // Brings the test up to `now_ms`: ends a timed test whose time is up and
    // fails a test whose cable has shown errors. Every query calls this first.
    void update(std::int64_t now_ms);
    // Drops the test without a verdict (the unit left cable mode, factory
    // reset); the cable and the time scale stay.
    void abort(std::int64_t now_ms);

    bool running() const { return running_; }
    // "none" before the first verdict and while a test runs, then "pass" or "fail".
    const std::string& result() const { return result_; }
    // Test time of the running test, or where the last one ended.
    std::int64_t elapsed_ms(std::int64_t now_ms) const;
    CableClock clock(std::int64_t now_ms) const;

    // Unit milliseconds per real millisecond, 1 or more. Takes effect from
    // now on; time already run is kept.
    void set_time_scale(std::int64_t now_ms, int scale);
    int time_scale() const { return scale_; }

    // The cable, and how many seconds into a test its errors show.
    void set_cable(CableQuality q, int fail_after_s);
    CableQuality cable() const { return quality_; }
    int fail_after_s() const { return fail_after_s_; }

  private:
    // Unit milliseconds of test time at which this test ends, or -1.
    std::int64_t end_ms() const;
    bool fails() const;
    void finish(std::int64_t test_ms, const char* verdict);

    bool running_ = false;
    int time_code_ = 1;
    bool strict_ = false;
    std::string result_ = "none";
    int scale_ = 1;
    CableQuality quality_ = CableQuality::good;
    int fail_after_s_ = 45;
    // Test time is base_ms_ plus scaled real time since since_ms_.
    std::int64_t base_ms_ = 0;
    std::int64_t since_ms_ = 0;
    std::int64_t stopped_ms_ = 0;  // test time where the last test ended
};

}  // namespace t27::sim
