#include "sim/request_parser.h"

#include "protocol/command_table.h"

namespace t27::sim {

namespace {

constexpr char cr = '\r';
constexpr char lf = '\n';

bool is_block_write(const std::string& line) { return cmdstr_cmd_get(line + cr) == "$edid_write"; }

}  // namespace

std::vector<Request> RequestParser::feed(std::string_view bytes) {
    std::vector<Request> out;
    for (char c : bytes) {
        // Block write lines end CR LF and plain lines may too (a terminal
        // sends both): the LF belongs to the line end, not to what follows.
        if (skip_lf_) {
            skip_lf_ = false;
            if (c == lf) continue;
        }
        if (phase_ == Phase::Block) {
            if (c == cr) {
                end_block(out);
                skip_lf_ = true;
                continue;
            }
            if (current_.data.size() < block_chars) {
                current_.data.push_back(c);
                continue;
            }
            // A full block not followed by its CR: the block is over and this
            // byte starts the next line, so a missing CR costs one request at
            // most instead of swallowing the stream.
            end_block(out);
        }
        if (c == cr) {
            end_line(out);
            skip_lf_ = true;
        } else if (c == lf) {
            // A stray LF carries no meaning to the unit.
        } else if (current_.line.size() < max_line) {
            current_.line.push_back(c);
        } else {
            current_.truncated = true;
        }
    }
    return out;
}

void RequestParser::end_line(std::vector<Request>& out) {
    if (!current_.truncated && is_block_write(current_.line)) {
        phase_ = Phase::Block;
        current_.has_data = true;
        return;
    }
    out.push_back(std::move(current_));
    current_ = Request{};
}

void RequestParser::end_block(std::vector<Request>& out) {
    phase_ = Phase::Line;
    out.push_back(std::move(current_));
    current_ = Request{};
}

bool RequestParser::idle() const {
    return phase_ == Phase::Line && current_.line.empty() && !current_.truncated;
}

void RequestParser::reset() {
    phase_ = Phase::Line;
    skip_lf_ = false;
    current_ = Request{};
}

}  // namespace t27::sim
