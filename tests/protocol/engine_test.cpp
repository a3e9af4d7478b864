#include "tests/protocol/engine_fixture.h"

namespace t27::testing {
namespace {

// Each wait tick lasts "more than 20 ms" on a millisecond clock.
constexpr std::int64_t tick_ms = 21;

TEST_F(EngineTest, AcceptedReplySetsParametersAndGreenLabel) {
    answer_all("$timing? 5\r\n");
    engine.cmdtx_str("$timing? \r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, "5");
    EXPECT_EQ(link.cmdrx_param2, "None");
    EXPECT_EQ(view.link_caption, "Accepted");
    EXPECT_EQ(view.link_colour, 0x8000u);
    EXPECT_FALSE(link.cmdtx_busy);
    EXPECT_FALSE(serial.receiving);
    EXPECT_FALSE(view.activity_visible);
    ASSERT_EQ(serial.writes.size(), 1u);
    EXPECT_EQ(serial.writes[0], "$timing? \r");
}

TEST_F(EngineTest, BootProbeWaitsThreeTicksPerAttemptOnSerial) {
    engine.cmdtx_str("$boot?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    ASSERT_EQ(serial.writes.size(), 2u);  // sent again after the first wait
    EXPECT_EQ(pump.now_ms(), 2 * 3 * tick_ms);
    EXPECT_EQ(view.link_caption, "No response");
    EXPECT_EQ(view.link_colour, 192u);
    EXPECT_EQ(serial.discards, 2);
}

TEST_F(EngineTest, BootProbeWaits161TicksPerAttemptOnEthernet) {
    use_ethernet();
    engine.cmdtx_str("$boot?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    EXPECT_EQ(eth.writes.size(), 2u);
    EXPECT_EQ(pump.now_ms(), 2 * 161 * tick_ms);
}

TEST_F(EngineTest, PatternWaitLimitsDependOnTransport) {
    engine.cmdtx_str("$pattern 3\r");
    EXPECT_EQ(pump.now_ms(), 2 * 1501 * tick_ms);
    use_ethernet();
    const std::int64_t start = pump.now_ms();
    engine.cmdtx_str("$pattern 3\r");
    EXPECT_EQ(pump.now_ms() - start, 2 * 501 * tick_ms);
}

TEST_F(EngineTest, LateReplyOnFirstAttemptIsTakenBySecond) {
    // The first request is lost; the unit answers the repeat.
    int n = 0;
    serial.responder = [&n](const std::string&) {
        return ++n == 1 ? std::vector<Chunk>{} : std::vector<Chunk>{{"$fwver? 1.0\r\n", 30}};
    };
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, "1.0");
    EXPECT_EQ(serial.writes.size(), 2u);
}

TEST_F(EngineTest, CompleteReplyEndsTheWaitEarly) {
    answer_all("$model? T27\r\n", 3);
    engine.cmdtx_str("$model?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_LT(pump.now_ms(), tick_ms);
}

TEST_F(EngineTest, ErrorRepliesAreClassifiedButLabelledAccepted) {
    answer_all("$timing? err_range\r\n");
    engine.cmdtx_str("$timing? \r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_EQ(view.link_caption, "Accepted");

    // An unsolicited line ahead of the reply completes it with the wrong word.
    answer_all("$hotplug 1\r\n$timing? 5\r\n");
    engine.cmdtx_str("$timing? \r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_EQ(link.cmdrx_str, "$hotplug 1\r\n");  // what followed the line end is not read

    // A request with an argument must be answered with its bare command word.
    answer_all("$cable_run? start\r\n");
    engine.cmdtx_str("$cable_run start\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);
}

TEST_F(EngineTest, CrAndLfCompleteInEitherOrderAcrossBatches) {
    serial.responder = [](const std::string&) {
        return std::vector<Chunk>{{"$fwver", 2}, {"? 2.1\n", 10}, {"\r", 10}};
    };
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_str, "$fwver? 2.1\n\r");
    EXPECT_EQ(link.cmdrx_param1, "2.1\n");  // the split does not trim
}

TEST_F(EngineTest, TransportClosedRefusesWithMessageAndNotLinkedLabel) {
    link.serial_open = false;
    engine.cmdtx_str("$model?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NotSent);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "RS-232 is disconnected !");
    EXPECT_EQ(view.icons[0], MessageIcon::Error);
    EXPECT_EQ(view.link_caption, "Not Linked");
    EXPECT_EQ(view.link_colour, 192u);
    EXPECT_TRUE(serial.writes.empty());
    EXPECT_FALSE(link.cmdtx_busy);

    use_ethernet();
    link.ethernet_connected = false;
    engine.cmdtx_str("$model?\r");
    EXPECT_EQ(view.messages.back(), "Ethernet is disconnected !.");

    // The flag alone is not enough: a port that closed underneath counts as closed.
    link.link_interface = interface_rs232;
    link.serial_open = true;
    serial.open = false;
    engine.cmdtx_str("$model?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NotSent);
}

// A control character inside a request would end it early on the unit and
// run the rest as a command nobody chose; such a request never leaves.
TEST_F(EngineTest, RequestWithAControlCharacterInsideIsNotSentAndSaysWhy) {
    struct Row {
        std::string request;
        bool sent;
        const char* why;  // part of the message when refused
    };
    const Row rows[] = {
        {"$model?\r", true, ""},
        {"\r", true, ""},  // an empty line is still one line
        {"$edid_write c1,block0\r\n", true, ""},
        {"$edid_writes c1,block0\r\n", false, "(CR)"},  // not a block write: CR LF is two ends
        {"$motion_text hi\r$task_mode cable\r", false, "(CR) at position 16"},
        {"$motion_text ab\ncd\r", false, "(LF)"},
        {"$motion_text ab\r\n", false, "(CR)"},  // CR LF ends only a block write
        {std::string("$model?\0x\r", 10), false, "(NUL)"},
        {"$model?\x1b]0;t\x07\r", false, "(ESC)"},
        {"$model?\x7f\r", false, "(DEL)"},
        {"$model?\t\r", false, "(TAB)"},
        {"$model?", false, "no line end"},
        {"", false, "no line end"},
        {"$model?\r\r", false, "(CR)"},
        {"$motion_text caf\xe9\r", true, ""},  // one byte a character, above DEL
    };
    use_ethernet();
    answer_all("$x ok\r\n");
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.request));
        eth.writes.clear();
        view.messages.clear();
        engine.cmdtx_str(r.request);
        EXPECT_FALSE(link.cmdtx_busy);
        if (r.sent) {
            EXPECT_FALSE(eth.writes.empty());
            EXPECT_NE(link.cmdrx_status, ReplyStatus::NotSent);
            continue;
        }
        EXPECT_TRUE(eth.writes.empty());
        EXPECT_EQ(link.cmdrx_status, ReplyStatus::NotSent);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find(r.why), std::string::npos) << view.messages[0];
        EXPECT_EQ(view.messages[0].rfind("Not sent: ", 0), 0u) << view.messages[0];
    }
}

TEST_F(EngineTest, NotLinkedPassesOnlyTheThreeLinkQueries) {
    unit.model_family = not_known;
    answer_all("$fwver? 1\r\n");
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Do [Refresh] or [Link] first !");
    EXPECT_EQ(view.icons[0], MessageIcon::Warning);
    EXPECT_TRUE(serial.writes.empty());
    EXPECT_EQ(serial.discards, 0);
    EXPECT_EQ(view.link_updates, 0);
    EXPECT_FALSE(link.cmdtx_busy);

    // The table's "$board_id? " with its trailing blank is not the exempt form.
    engine.cmdtx_str("$board_id? \r");
    EXPECT_TRUE(serial.writes.empty());

    serial.responder = nullptr;
    for (const char* r : {"$boot?\r", "$model?\r", "$board_id?\r"}) engine.cmdtx_str(r);
    EXPECT_EQ(serial.writes.size(), 3u * 2u);  // unanswered, so each went twice
}

TEST_F(EngineTest, TransportFailureEndsQuietlyWithNoResponse) {
    serial.fail_writes = true;
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.link_caption, "No response");
    EXPECT_FALSE(link.cmdtx_busy);
    EXPECT_FALSE(serial.receiving);
    EXPECT_EQ(serial.writes.size(), 1u);  // no second attempt after a failure

    serial.fail_writes = false;
    serial.fail_buffers = true;
    engine.cmdtx_str("$fwver?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
}

TEST_F(EngineTest, ClosingWindowSendsButDoesNotWait) {
    link.app_closing = true;
    engine.cmdtx_str("$task_mode analyser\r");
    EXPECT_EQ(serial.writes.size(), 1u);
    EXPECT_EQ(pump.now_ms(), 0);
    EXPECT_TRUE(link.cmdtx_busy);
}

TEST_F(EngineTest, ActivityMarkerMovesAndWrapsOnlyWhenNotQuiet) {
    engine.cmdtx_str("$fwver?\r");  // 2 x 161 ticks, no reply
    ASSERT_FALSE(view.activity_positions.empty());
    EXPECT_EQ(view.activity_positions.front(), activity_start);
    for (int p : view.activity_positions) {
        EXPECT_GE(p, activity_start);
        EXPECT_LT(p, activity_end);
        EXPECT_EQ((p - activity_start) % activity_step, 0);
    }
    // 322 steps of 15 over a range of 1500 must have wrapped.
    EXPECT_NE(std::count(view.activity_positions.begin(), view.activity_positions.end(),
                         activity_start),
              1);

    view.activity_positions.clear();
    link.quiet_transaction = true;
    answer_all("$fwver? 1\r\n");
    engine.cmdtx_str("$fwver?\r");
    EXPECT_TRUE(view.activity_positions.empty());
}

TEST_F(EngineTest, EventsRunInsideTheWait) {
    // A timer that fires during the wait sees the transaction busy.
    bool seen_busy = false;
    pump.at(50, [&] { seen_busy = link.cmdtx_busy; });
    answer_all("$fwver? 1\r\n", 100);
    engine.cmdtx_str("$fwver?\r");
    EXPECT_TRUE(seen_busy);
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
}

}  // namespace
}  // namespace t27::testing
