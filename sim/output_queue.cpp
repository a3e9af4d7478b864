#include "sim/output_queue.h"

#include <algorithm>
#include <cmath>

namespace t27::sim {

void OutputQueue::push(const std::vector<Emission>& emissions, std::int64_t now_ms) {
    for (const Emission& e : emissions) {
        std::int64_t base = std::max(now_ms, last_due_);
        last_due_ = base + std::max<std::int64_t>(e.delay_ms, 0);
        items_.push_back(Item{last_due_, e.bytes, 0, e.close_after});
    }
}

std::string OutputQueue::take(std::int64_t now_ms, bool& close_now) {
    close_now = false;
    std::string out;
    while (!items_.empty() && items_.front().due <= now_ms) {
        Item& it = items_.front();
        std::size_t n = it.bytes.size() - it.sent;
        if (rate_ > 0) {
            // The line idles until the item is due; a byte is out once its
            // ten bit times have passed.
            line_free_at_ = std::max(line_free_at_, static_cast<double>(it.due));
            double room = (static_cast<double>(now_ms) - line_free_at_) * rate_;
            std::size_t fits = room > 0 ? static_cast<std::size_t>(std::floor(room + 1e-9)) : 0;
            n = std::min(n, fits);
            line_free_at_ += static_cast<double>(n) / rate_;
        }
        out.append(it.bytes, it.sent, n);
        it.sent += n;
        if (it.sent < it.bytes.size()) break;
        bool close = it.close;
        items_.pop_front();
        if (close) {
            close_now = true;
            items_.clear();
            break;
        }
    }
    return out;
}

std::int64_t OutputQueue::wait_ms(std::int64_t now_ms) const {
    if (items_.empty()) return -1;
    const Item& it = items_.front();
    if (it.due > now_ms) return it.due - now_ms;
    if (rate_ <= 0) return 0;
    double next_byte = std::max(line_free_at_, static_cast<double>(it.due)) + 1.0 / rate_;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(next_byte - now_ms)));
}

void OutputQueue::clear() {
    items_.clear();
    last_due_ = INT64_MIN;
}

}  // namespace t27::sim
