#pragma once
// Turns the byte stream from the program into requests, whatever the chunking:
// a serial link delivers a line a few bytes at a time, TCP in one piece, and a
// block write over serial arrives in two halves.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sim/request.h"

namespace t27::sim {

class RequestParser {
  public:
    // Longest line kept; the rest of a longer line is dropped up to its CR.
    static constexpr std::size_t max_line = 1024;
    // 128 bytes as "HH " triplets.
    static constexpr std::size_t block_chars = 384;

    std::vector<Request> feed(std::string_view bytes);

    // True when no partial request is held.
    bool idle() const;
    // True while the triplets of an "$edid_write" block are being collected.
    bool in_block() const { return phase_ == Phase::Block; }
    void reset();

  private:
    enum class Phase { Line, Block };

    void end_line(std::vector<Request>& out);
    void end_block(std::vector<Request>& out);

    Phase phase_ = Phase::Line;
    bool skip_lf_ = false;
    Request current_;
};

}  // namespace t27::sim
