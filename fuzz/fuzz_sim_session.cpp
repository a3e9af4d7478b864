// Bytes from the program (or from anything that connects to the simulator)
// through the request parser, the unit model and a session with faults.
//
// Input: a chunk-size byte, then pieces separated by NUL bytes. A piece that
// starts with '#' is a control line (arming a fault, changing the unit); any
// other piece is bytes on the wire, handed over in chunks of that size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "sim/control.h"
#include "sim/request_parser.h"
#include "sim/unit_model.h"
#include "sim/unit_session.h"

namespace {

using t27::fuzz::chunks;

void check_request(const t27::sim::Request& r) {
    T27_FUZZ_CHECK(r.line.size() <= t27::sim::RequestParser::max_line);
    T27_FUZZ_CHECK(r.line.find_first_of("\r\n") == std::string::npos);
    T27_FUZZ_CHECK(r.data.size() <= t27::sim::RequestParser::block_chars);
    T27_FUZZ_CHECK(r.data.find('\r') == std::string::npos);
    if (!r.has_data) T27_FUZZ_CHECK(r.data.empty());
}

// Without faults the unit answers in whole lines: CR LF, or EOT after a list,
// and a block read's 386 characters after its line.
void check_reply(const t27::sim::Reply& reply) {
    if (reply.silent) return;
    const std::string& l = reply.line;
    T27_FUZZ_CHECK(!l.empty());
    const bool crlf = l.size() >= 2 && l.compare(l.size() - 2, 2, "\r\n") == 0;
    T27_FUZZ_CHECK(crlf || l.back() == '\x04');
    T27_FUZZ_CHECK(reply.block.empty() || reply.block.size() == 386);
}

std::int64_t fixed_clock = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t chunk = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

    fixed_clock = 0;
    t27::sim::UnitModel plain;
    plain.set_clock([] { return fixed_clock; });
    t27::sim::RequestParser parser;

    // Two sessions on two units given the same control lines: one gets each
    // piece whole (TCP), the other in chunks (a serial link). Requests do not
    // depend on the chunking, so neither do the replies.
    t27::sim::UnitModel unit_whole;
    unit_whole.set_clock([] { return fixed_clock; });
    t27::sim::UnitSession whole(unit_whole);
    std::string whole_out;
    t27::sim::UnitModel unit_pieces;
    unit_pieces.set_clock([] { return fixed_clock; });
    t27::sim::UnitSession session(unit_pieces);
    std::string pieces_out;

    auto collect = [](const std::vector<t27::sim::Emission>& emissions,
                      const t27::sim::UnitSession& from, std::string& out) {
        for (const t27::sim::Emission& e : emissions) {
            T27_FUZZ_CHECK(e.delay_ms >= 0);
            if (e.close_after) T27_FUZZ_CHECK(from.closed());
            out += e.bytes;
        }
    };

    for (const std::string& piece : t27::fuzz::split(rest, '\0')) {
        fixed_clock += 250;
        if (!piece.empty() && piece[0] == '#') {
            const std::string answer = t27::sim::run_control(unit_whole, piece.substr(1));
            T27_FUZZ_CHECK(answer == "ok" || answer.compare(0, 7, "error: ") == 0);
            T27_FUZZ_CHECK(t27::sim::run_control(unit_pieces, piece.substr(1)) == answer);
            continue;
        }
        for (const std::string& bytes : chunks(piece, chunk)) {
            for (const t27::sim::Request& r : parser.feed(bytes)) {
                check_request(r);
                check_reply(plain.handle(r));
            }
            collect(session.feed(bytes), session, pieces_out);
        }
        collect(whole.feed(piece), whole, whole_out);
        T27_FUZZ_CHECK(whole_out == pieces_out);
        T27_FUZZ_CHECK(whole.closed() == session.closed());
    }
    T27_FUZZ_CHECK(session.wire_log().size() <= rest.size());
    return 0;
}
