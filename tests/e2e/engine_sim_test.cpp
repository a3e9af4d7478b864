// The engine against the unit model in-process, on virtual time: the whole
// request/reply path without sockets.
#include <gtest/gtest.h>

#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "sim/faults.h"
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

}  // namespace
}  // namespace t27::testing
