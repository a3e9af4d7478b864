// Replies from the unit through the receive pass and the parameter split.
//
// Input: a flags byte, a chunk-size byte, a command-table index byte, then
// the bytes "received". Flags: 1 a data block follows the reply line, 2 an
// EOT ends the reply, 4 the command monitor is logging, 8 the monitor log
// starts just below its limit, 16 run whole transactions (request written,
// reply awaited on a virtual clock) instead of bare receive passes, 32 over
// Ethernet rather than RS-232, 64 a quiet transaction.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"

namespace {

using t27::fuzz::chunks;

class ClockPump : public t27::Pump {
  public:
    explicit ClockPump(std::deque<std::string>& pending) : pending_(pending) {}
    std::int64_t now_ms() override { return now_; }
    void process_events() override { deliver_one(); }
    void wait_events(std::int64_t max_ms) override {
        now_ += max_ms > 0 ? max_ms : 1;
        deliver_one();
    }
    std::function<void(const std::string&)> on_bytes;

  private:
    void deliver_one() {
        if (pending_.empty() || !on_bytes) return;
        const std::string bytes = std::move(pending_.front());
        pending_.pop_front();
        on_bytes(bytes);
    }
    std::deque<std::string>& pending_;
    std::int64_t now_ = 0;
};

// Hands on whatever the pump releases; writes always succeed.
class LoopTransport : public t27::Transport {
  public:
    bool is_open() const override { return true; }
    bool write(const std::string& bytes) override {
        written += bytes.size();
        return true;
    }
    void hand_on(const std::string& bytes) { deliver(bytes); }
    std::size_t written = 0;
};

struct SilentView : t27::EngineView {
    void show_message(const std::string&, t27::MessageIcon) override {}
    void set_link_label(const std::string&, t27::Colour) override {}
};

// The split yields "None" or text lying inside the reply.
void check_params(const t27::LinkState& link) {
    for (const std::string* p : {&link.cmdrx_param1, &link.cmdrx_param2, &link.cmdrx_param3}) {
        T27_FUZZ_CHECK(*p == "None" || link.cmdrx_str.find(*p) != std::string::npos);
        T27_FUZZ_CHECK(p->size() < link.cmdrx_str.size() || *p == "None");
    }
    // A later parameter exists only when the earlier ones do. A reply may
    // carry the word "None" itself as a parameter, which reads the same as an
    // absent one, so the rule is checked only where the text holds no such word.
    if (link.cmdrx_str.find("None") != std::string::npos) return;
    if (link.cmdrx_param1 == "None") T27_FUZZ_CHECK(link.cmdrx_param2 == "None");
    if (link.cmdrx_param2 == "None") T27_FUZZ_CHECK(link.cmdrx_param3 == "None");
}

void check_link(const t27::LinkState& link, std::size_t longest_batch) {
    T27_FUZZ_CHECK(link.cmdrx_str.size() <= t27::reply_text_cap);
    // The log is emptied at the start of the pass after it passed its limit;
    // one pass adds at most the escaped form of its batch ("<LF>" + CR LF).
    T27_FUZZ_CHECK(link.monitor_log.size() <= t27::monitor_log_limit + 1 + 6 * longest_batch + 5);
}

void run_passes(t27::Engine& engine, t27::LinkState& link, std::string_view wire, std::size_t chunk,
                bool block_follows, bool eot_reply) {
    std::size_t longest = 0;
    for (const std::string& batch : chunks(wire, chunk)) {
        longest = std::max(longest, batch.size());
        engine.receive_pass(batch);
        check_link(link, longest);
        if (link.reply_complete) {
            engine.cmdrx_param_get();
            check_params(link);
            if (block_follows && !link.cmdrx_block.empty())
                T27_FUZZ_CHECK(link.cmdrx_block.size() <= t27::edid_block_chars);
            // What the next transaction does before it waits again.
            link.cmdrx_count = 0;
            link.cmdrx_str.clear();
            link.cr_seen = link.lf_seen = link.reply_complete = false;
            link.eot_reply = eot_reply;
        }
    }
    engine.cmdrx_param_get();
    check_params(link);
}

}  // namespace

// One engine on its own link record, set up as the flags say.
struct Receiver {
    Receiver(std::uint8_t flags, std::deque<std::string>& pending)
        : pump(pending), engine(link, unit, pump, view) {
        unit.model_family = t27::family_v4;
        engine.set_serial(&serial);
        engine.set_ethernet(&ethernet);
        link.serial_open = true;
        link.ethernet_connected = true;
        link.block_follows = flags & 1;
        link.eot_reply = flags & 2;
        link.monitor_on = flags & 4;
        if (flags & 8) link.monitor_log.assign(t27::monitor_log_limit - 2, 'x');
        link.link_interface = (flags & 32) ? t27::interface_ethernet : t27::interface_rs232;
        link.quiet_transaction = flags & 64;
    }

    t27::LinkState link;
    t27::UnitIdentity unit;
    ClockPump pump;
    SilentView view;
    t27::Engine engine;
    LoopTransport serial;
    LoopTransport ethernet;
};

// A reply reads the same whether it came in one batch (a socket) or a few
// characters at a time (the serial receive step): same completion, same
// line, same block, same log.
void check_chunking(std::uint8_t flags, std::string_view wire, std::size_t chunk) {
    std::deque<std::string> none;
    Receiver whole(flags, none);
    whole.engine.receive_pass(std::string(wire));

    Receiver pieces(flags, none);
    for (const std::string& batch : chunks(wire, chunk)) {
        pieces.engine.receive_pass(batch);
        if (pieces.link.reply_complete) break;
    }

    const t27::LinkState& a = whole.link;
    const t27::LinkState& b = pieces.link;
    T27_FUZZ_CHECK(a.reply_complete == b.reply_complete);
    // An error line that ends a block read completes the reply without ending
    // its pass, so a later EOT in the same batch is still read; the transaction
    // stops listening at completion, so pieces never see it. No request both
    // expects a block and ends with EOT, so only the other cases must agree.
    if (!(flags & 1)) T27_FUZZ_CHECK(a.eot_reply == b.eot_reply);
    // Bytes after an error line that ends a block read stay with that line
    // while they share its batch; otherwise the texts are the same.
    T27_FUZZ_CHECK(a.cmdrx_str.compare(0, b.cmdrx_str.size(), b.cmdrx_str) == 0);
    if (!(flags & 1)) T27_FUZZ_CHECK(a.cmdrx_str == b.cmdrx_str);
    T27_FUZZ_CHECK(a.cmdrx_block == b.cmdrx_block);
    if (!(flags & 8))
        T27_FUZZ_CHECK(a.monitor_log.compare(0, b.monitor_log.size(), b.monitor_log) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t flags = data[0];
    const std::size_t chunk = data[1];
    const int index = data[2] % t27::command_table_size;
    const std::string_view wire(reinterpret_cast<const char*>(data) + 3, size - 3);

    const bool block_follows = flags & 1;
    const bool eot_reply = flags & 2;

    std::deque<std::string> pending;
    Receiver r(flags, pending);
    t27::LinkState& link = r.link;
    t27::Engine& engine = r.engine;

    if (!(flags & 16)) {
        check_chunking(flags, wire, chunk);
        run_passes(engine, link, wire, chunk, block_follows, eot_reply);
        return 0;
    }

    LoopTransport& selected = (flags & 32) ? r.ethernet : r.serial;
    r.pump.on_bytes = [&selected](const std::string& b) { selected.hand_on(b); };
    for (const std::string& batch : chunks(wire, chunk)) pending.push_back(batch);

    std::string request = t27::command_text(index);
    if (request.empty()) request = "$model?";
    if (request.back() == ' ') request += "rx";
    request += '\r';
    // A handful of transactions use up the batches or show the engine stops
    // waiting; each one ends, whatever arrived.
    for (int i = 0; i < 4 && !pending.empty(); ++i) {
        link.eot_reply = eot_reply;
        link.block_follows = block_follows;
        engine.cmdtx_str(request);
        T27_FUZZ_CHECK(!link.cmdtx_busy);
        check_link(link, wire.size());
        if (link.cmdrx_status == t27::ReplyStatus::Accepted) {
            T27_FUZZ_CHECK(link.reply_complete);
            // Only a same-word reply without EOT is split.
            if (!eot_reply) check_params(link);
        }
    }
    return 0;
}
