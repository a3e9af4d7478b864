#include "protocol/pump.h"

namespace t27 {

void wait_seconds(Pump& pump, double seconds, const bool* stop) {
    // The wait is "more than" the given time, measured in single precision as
    // the original timer arithmetic was, so 0.02 s means at least 21 ms on a
    // millisecond clock.
    const float limit_ms = static_cast<float>(seconds) * 1000.0f;
    const std::int64_t start = pump.now_ms();
    for (;;) {
        if (stop && *stop) return;
        const std::int64_t elapsed = pump.now_ms() - start;
        if (static_cast<float>(elapsed) > limit_ms) return;
        const std::int64_t left = static_cast<std::int64_t>(limit_ms) - elapsed + 1;
        pump.wait_events(left > 0 ? left : 1);
    }
}

}  // namespace t27
