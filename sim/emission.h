#pragma once
#include <cstdint>
#include <string>

namespace t27::sim {

// Bytes the unit puts on the wire, `delay_ms` after the previous emission
// (0 = at once); `close_after` ends the connection once they are out.
struct Emission {
    std::string bytes;
    std::int64_t delay_ms = 0;
    bool close_after = false;
};

}  // namespace t27::sim
