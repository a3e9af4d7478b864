#pragma once
// What a front end still has to write: emissions waiting for their delay and,
// on an emulated serial line, bytes waiting for their turn on the wire.
// Time comes in from the caller, so the queue runs on any clock.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "sim/emission.h"

namespace t27::sim {

// 115200 baud, 8N1: ten bit times per byte.
inline constexpr double serial_bytes_per_ms(int baud) { return baud / 10.0 / 1000.0; }

class OutputQueue {
  public:
    // bytes_per_ms 0 writes each emission in one piece when it is due.
    explicit OutputQueue(double bytes_per_ms = 0) : rate_(bytes_per_ms) {}

    void push(const std::vector<Emission>& emissions, std::int64_t now_ms);

    // The bytes that are on the wire by `now_ms`. `close_now` turns true once
    // every byte of an emission that ends the connection has been released.
    std::string take(std::int64_t now_ms, bool& close_now);

    // How long until take() has something more: -1 when nothing is queued.
    std::int64_t wait_ms(std::int64_t now_ms) const;

    bool empty() const { return items_.empty(); }
    void clear();

  private:
    struct Item {
        std::int64_t due;
        std::string bytes;
        std::size_t sent = 0;
        bool close = false;
    };

    double rate_;
    std::deque<Item> items_;
    std::int64_t last_due_ = INT64_MIN;
    double line_free_at_ = 0;  // when the emulated line has sent all it was given
};

}  // namespace t27::sim
