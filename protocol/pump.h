#pragma once
// The engine's view of time and of the event loop. The Qt pump reads a
// monotonic clock and processes Qt events; the test pump runs a virtual clock
// so a 160-tick timeout costs no real time.
#include <cstdint>

namespace t27 {

class Pump {
public:
    virtual ~Pump() = default;
    virtual std::int64_t now_ms() = 0;
    // Process whatever events are pending, without blocking.
    virtual void process_events() = 0;
    // Process events, sleeping until one arrives or `max_ms` has passed.
    // Implementations may return earlier; callers re-check the clock.
    virtual void wait_events(std::int64_t max_ms) = 0;
};

// Waits until more than `seconds` have passed on the pump's clock while
// processing events. When `stop` is given, returns as soon as *stop is true.
void wait_seconds(Pump& pump, double seconds, const bool* stop = nullptr);

}  // namespace t27
