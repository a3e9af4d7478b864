// The engine against the unit model in-process, on virtual time: the whole
// request/reply path without sockets.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <unordered_map>

#include "analyser/decode_reply.h"
#include "analyser/poll_list.h"
#include "analyser/signal_log.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "sim/control.h"
#include "sim/faults.h"
#include "sim/scenarios.h"
#include "sim/unit_model.h"
#include "tests/support/script_transport.h"
#include "tests/support/sim_transport.h"

namespace t27::testing {
namespace {

class EngineSimTest : public ::testing::Test {
protected:
    EngineSimTest()
        : serial(pump, model), eth(pump, model), engine(link, unit, pump, view) {
        engine.set_serial(&serial);
        engine.set_ethernet(&eth);
        link.serial_open = true;
        link.ethernet_connected = true;
    }

    void do_link() {
        LinkHooks hooks;
        link_sequence(engine, hooks);
    }

    sim::UnitModel model;
    LinkState link;
    UnitIdentity unit;
    VirtualPump pump;
    RecordingView view;
    SimTransport serial;
    SimTransport eth;
    Engine engine;
};

TEST_F(EngineSimTest, LinksAndIdentifiesOverBothTransports) {
    model.state().identity.model = "T28";
    model.state().identity.board_id = 1;
    model.state().task_mode = "cable";
    for (int iface : {interface_rs232, interface_ethernet}) {
        link.link_interface = iface;
        unit = UnitIdentity{};
        do_link();
        EXPECT_EQ(unit.model_family, family_v4l);
        EXPECT_EQ(unit.board_id, 1);
        EXPECT_EQ(unit.linked_model, "T28");
        EXPECT_EQ(unit.task_mode, task_cable);
        EXPECT_TRUE(view.messages.empty());
    }
}

TEST_F(EngineSimTest, DroppedReplyIsRecoveredByTheRetry) {
    do_link();
    ASSERT_EQ(sim::arm_fault(model.faults(), "drop 1"), "");
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, model.state().identity.firmware);
    // The request went out twice.
    const std::string& wire = serial.wire();
    std::size_t n = 0;
    for (std::size_t p = wire.find("$fwver?\r"); p != std::string::npos;
         p = wire.find("$fwver?\r", p + 1))
        ++n;
    EXPECT_EQ(n, 3u);  // once while linking, twice now
}

TEST_F(EngineSimTest, FaultsEndInTheirStatuses) {
    do_link();
    struct Case {
        const char* fault;
        ReplyStatus expected;
    };
    const Case cases[] = {
        {"err", ReplyStatus::ErrorReply},
        {"wrongword", ReplyStatus::ErrorReply},
        {"unsolicited $hotplug 1", ReplyStatus::ErrorReply},
        {"drop 2", ReplyStatus::NoResponse},
        // Later than one wait: the first reply lands in the repeat's wait.
        {"delay 5000", ReplyStatus::Accepted},
        {"delay 8000", ReplyStatus::NoResponse},  // later than both waits
    };
    for (const Case& c : cases) {
        model.faults().clear();
        ASSERT_EQ(sim::arm_fault(model.faults(), c.fault), "") << c.fault;
        engine.cmdtx_str("$task_mode?\r");
        EXPECT_EQ(link.cmdrx_status, c.expected) << c.fault;
        EXPECT_FALSE(link.cmdtx_busy);
        pump.advance(20000);  // let stragglers arrive before the next case
    }
    model.faults().clear();
    // Garbage without a line end in front of a good reply: the reply still
    // completes, but carries the noise in front of its command word.
    ASSERT_EQ(sim::arm_fault(model.faults(), "garbage 20"), "");
    engine.cmdtx_str("$task_mode?\r");
    EXPECT_NE(link.cmdrx_status, ReplyStatus::NotSent);
    EXPECT_FALSE(link.cmdtx_busy);
}

TEST_F(EngineSimTest, HelpListEndsWithEot) {
    do_link();
    link.monitor_on = true;
    link.eot_reply = true;
    engine.cmdtx_str("$help\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    ASSERT_GE(link.monitor_log.size(), 5u);
    EXPECT_EQ(link.monitor_log.substr(link.monitor_log.size() - 5), "<EOT>");
}

TEST_F(EngineSimTest, EdidWriteThenReadBackRoundTrips) {
    do_link();
    std::uint8_t image[256];
    for (int i = 0; i < 256; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::copy(image, image + 256, engine.edid_tx_data().begin());
    for (const char* block : {"block0", "block1"}) {
        engine.cmdtx_str(std::string("$edid_write c2,") + block + "\r\n");
        EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted) << block;
    }
    link.block_follows = true;
    engine.cmdtx_str("$edid_read c2,block1\r");
    link.block_follows = false;
    ASSERT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_block, edid_triplets(image + 128, 128) + "\r\n");
}

TEST_F(EngineSimTest, EdidWriteBytesOnTheWireMatchAcrossTransports) {
    do_link();
    for (int i = 0; i < 256; ++i) engine.edid_tx_data()[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(i);
    const std::string before_serial = serial.wire();
    engine.cmdtx_str("$edid_write c1,block0\r\n");
    const std::string serial_bytes = serial.wire().substr(before_serial.size());

    link.link_interface = interface_ethernet;
    const std::string before_eth = eth.wire();
    engine.cmdtx_str("$edid_write c1,block0\r\n");
    const std::string eth_bytes = eth.wire().substr(before_eth.size());
    EXPECT_EQ(serial_bytes, eth_bytes);
    EXPECT_EQ(serial_bytes.size(), std::string("$edid_write c1,block0\r\n").size() + 385);
}

TEST_F(EngineSimTest, ConnectionClosedMidBlockIsNoResponse) {
    do_link();
    ASSERT_EQ(sim::arm_fault(model.faults(), "close-mid-block"), "");
    link.block_follows = true;
    engine.cmdtx_str("$edid_read sink_h,block0\r");
    link.block_follows = false;
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    EXPECT_FALSE(link.cmdtx_busy);
    EXPECT_LT(link.cmdrx_block.size(), 386u);
}


// The five views in turn, as `monitor watch --view all` polls them, with the
// shared change detection behind the decoding.
class AllViewsPoll {
  public:
    AllViewsPoll(Engine& engine, LinkState& link) : engine_(engine), link_(link) {
        for (int v = 0; v < analyser_view_count; ++v)
            items_.push_back(signal_items(v, task_analyser, 0, "T27"));
        list_ = build_poll_list(view_, task_analyser, state_);
    }

    // One request; the changes it made the watch log.
    std::vector<SignalChange> step() {
        const int index = list_[pos_];
        engine_.cmdtx_str(command_text(index) + "\r");
        std::vector<SignalChange> changes;
        if (link_.cmdrx_status == ReplyStatus::Accepted) {
            engine_.cmdrx_param_get();
            const PollReply reply{link_.cmdrx_param1, link_.cmdrx_param2, link_.cmdrx_param3};
            DecodeContext ctx;
            ctx.view = view_;
            ctx.task_mode = task_analyser;
            ctx.caption = [this](const std::string& c) {
                auto it = shown_.find(c);
                return it == shown_.end() ? std::string() : it->second;
            };
            const DisplayUpdates u = decode_reply(index, reply, ctx, state_);
            for (const TextUpdate& t : u.texts) shown_[t.control] = t.text;
            changes = watch_.observe(index, reply, items_[static_cast<std::size_t>(view_)], u,
                                     ++time_)
                          .changes;
        }
        if (++pos_ == list_.size()) {
            pos_ = 0;
            view_ = (view_ + 1) % analyser_view_count;
            list_ = build_poll_list(view_, task_analyser, state_);
        }
        return changes;
    }

    std::vector<SignalChange> rounds(int n) {
        std::vector<SignalChange> all;
        const int requests = n * requests_per_round();
        for (int i = 0; i < requests; ++i)
            for (SignalChange& c : step()) all.push_back(std::move(c));
        return all;
    }

    static int requests_per_round() {
        int n = 0;
        for (int v = 0; v < analyser_view_count; ++v)
            n += static_cast<int>(poll_list_for(v, task_analyser).size());
        return n;
    }

    // What the log holds for every item now.
    std::map<std::string, std::string> values() const {
        std::map<std::string, std::string> out;
        for (const auto& view_items : items_)
            for (const SignalItem& i : view_items)
                if (const std::string* v = watch_.value(i.name)) out[i.name] = *v;
        return out;
    }

  private:
    Engine& engine_;
    LinkState& link_;
    AnalyserState state_;
    std::unordered_map<std::string, std::string> shown_;
    SignalWatch watch_;
    std::vector<std::vector<SignalItem>> items_;
    std::vector<int> list_;
    int view_ = view_system;
    std::size_t pos_ = 0;
    std::int64_t time_ = 0;
};

// A source switching while the log runs: however the switch falls within a
// cycle, the log goes straight from what the old source sent to what the new
// one sends, each value one the source really has.
TEST_F(EngineSimTest, SignalLogGoesStraightFromOneScenarioToTheNext) {
    link.link_interface = interface_ethernet;
    do_link();
    ASSERT_EQ(unit.task_mode, task_analyser);
    AllViewsPoll poll(engine, link);
    const std::span<const sim::Scenario> all = sim::scenarios();
    const int n = static_cast<int>(all.size());
    auto show = [&](int s) {
        ASSERT_EQ(sim::run_control(model, "scenario " + std::string(all[s].name)), "ok");
    };

    // Each scenario's settled values, reached once from each neighbour: the
    // log must not depend on where a source came from.
    std::vector<std::map<std::string, std::string>> settled(static_cast<std::size_t>(n));
    for (int s = 0; s < n; ++s) {
        show(s);
        poll.rounds(3);
        settled[static_cast<std::size_t>(s)] = poll.values();
    }
    for (int s = n - 1; s >= 0; --s) {
        show(s);
        poll.rounds(3);
        EXPECT_EQ(poll.values(), settled[static_cast<std::size_t>(s)]) << all[s].name;
    }

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const int round = AllViewsPoll::requests_per_round();
    int current = 0;
    show(current);
    poll.rounds(3);
    std::size_t logged = 0;
    for (int k = 0; k < 50; ++k) {
        // The switch lands anywhere in the cycle.
        for (int i = std::uniform_int_distribution<int>(0, round - 1)(random); i > 0; --i)
            EXPECT_TRUE(poll.step().empty()) << "nothing changed yet";
        int next = std::uniform_int_distribution<int>(0, n - 2)(random);
        if (next >= current) ++next;
        show(next);
        const auto& before = settled[static_cast<std::size_t>(current)];
        const auto& after = settled[static_cast<std::size_t>(next)];
        std::set<std::string> seen;
        // A derived value whose own reply changed waits for its inputs to be
        // read again: two full passes of its view after the switch.
        for (const SignalChange& c : poll.rounds(3)) {
            SCOPED_TRACE(std::string(all[current].name) + " -> " + std::string(all[next].name) +
                         ": " + c.item);
            EXPECT_TRUE(seen.insert(c.item).second) << "logged twice: " << c.new_value;
            ASSERT_TRUE(before.contains(c.item) && after.contains(c.item));
            EXPECT_EQ(c.old_value, before.at(c.item));
            EXPECT_EQ(c.new_value, after.at(c.item));
            ++logged;
        }
        for (const auto& [item, value] : after) {
            const auto old = before.find(item);
            if (old != before.end() && old->second != value)
                EXPECT_TRUE(seen.contains(item)) << "missed " << item;
        }
        current = next;
    }
    EXPECT_GT(logged, 50u);
}
}  // namespace
}  // namespace t27::testing
