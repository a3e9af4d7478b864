#include "tests/protocol/engine_fixture.h"

namespace t27::testing {
namespace {

std::string block_text(std::uint8_t first) {
    std::uint8_t bytes[128];
    for (int i = 0; i < 128; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
    return edid_triplets(bytes, 128) + "\r\n";
}

TEST(ParameterSplit, FollowsTheCommaAndLineEndRules) {
    LinkState link;
    UnitIdentity unit;
    VirtualPump pump;
    RecordingView view;
    Engine engine(link, unit, pump, view);
    struct Case {
        const char* reply;
        const char* p1;
        const char* p2;
        const char* p3;
    };
    const Case cases[] = {
        {"$model?\r\n", "None", "None", "None"},           // no blank
        {"$x 1,,3\r\n", "1", "None", "None"},              // empty field ends the list
        {"$x a,b,c,d\r\n", "a", "b", "c"},
        {"$x  lead\r\n", " lead", "None", "None"},         // not trimmed
        {"$x \r\n", "None", "None", "None"},               // empty first parameter
        {"$x one\r\n", "one", "None", "None"},
        {"$x a,b\r\n", "a", "b", "None"},
        {"$x noend", "None", "None", "None"},              // neither comma nor CR
        // A comma after the line end wins over the nearer CR.
        {"$x one\r\n$y two,three\r\n", "one\r\n$y two", "three", "None"},
        {"", "None", "None", "None"},
    };
    for (const Case& c : cases) {
        link.cmdrx_str = c.reply;
        link.cmdrx_param1 = link.cmdrx_param2 = link.cmdrx_param3 = "stale";
        engine.cmdrx_param_get();
        EXPECT_EQ(link.cmdrx_param1, c.p1) << c.reply;
        EXPECT_EQ(link.cmdrx_param2, c.p2) << c.reply;
        EXPECT_EQ(link.cmdrx_param3, c.p3) << c.reply;
    }
}

TEST_F(EngineTest, ReplyWithoutBlankIsAcceptedWithNoParameters) {
    answer_all("$boot?\r\n");
    engine.cmdtx_str("$boot?\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_param1, "None");
}

TEST_F(EngineTest, HelpReplyCompletesOnlyOnEotWhileLogging) {
    const std::string help = "$help\r\n$model?\r\n$fwver?\r\n\x04";
    answer_all(help);
    link.monitor_on = true;
    link.eot_reply = true;
    engine.cmdtx_str("$help\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_FALSE(link.eot_reply);
    EXPECT_EQ(link.monitor_log,
              "$help<CR><LF>\r\n$model?<CR><LF>\r\n$fwver?<CR><LF>\r\n<EOT>");
    EXPECT_EQ(view.last_log, link.monitor_log);
    EXPECT_EQ(serial.writes.size(), 1u);

    // With logging paused the EOT is just a character: no completion.
    link.monitor_on = false;
    link.eot_reply = true;
    engine.cmdtx_str("$help\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
}

TEST_F(EngineTest, MonitorLogEscapesControlsAndIsEmptiedPastItsLimit) {
    link.monitor_on = true;
    link.cmdtx_busy = true;
    engine.receive_pass(std::string("$a \x1b\x01\x7f\xe9\x04", 8));
    EXPECT_EQ(link.monitor_log, "$a <1B><1>\x7f\xe9\x04");
    link.monitor_log.assign(monitor_log_limit, 'x');
    engine.receive_pass("y");
    EXPECT_EQ(link.monitor_log, std::string(monitor_log_limit, 'x') + "y");  // not past it yet
    engine.receive_pass("z");
    EXPECT_EQ(link.monitor_log, "z");
    EXPECT_EQ(view.log_clears, 1);

    link.monitor_on = false;
    link.monitor_log.clear();
    engine.receive_pass("\r\n");
    EXPECT_TRUE(link.monitor_log.empty());
}

TEST_F(EngineTest, BlockReadCollects386CharactersAfterTheLine) {
    const std::string block = block_text(0);
    ASSERT_EQ(block.size(), 386u);
    serial.responder = [&](const std::string&) {
        // Split awkwardly: the line end and the first block bytes share a batch.
        return std::vector<Chunk>{{"$edid_read sink_h,block0\r\n" + block.substr(0, 100), 3},
                                  {block.substr(100, 200), 10},
                                  {block.substr(300) + "trailing", 10}};
    };
    link.block_follows = true;
    engine.cmdtx_str("$edid_read sink_h,block0\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    EXPECT_EQ(link.cmdrx_block, block);
    EXPECT_EQ(link.cmdrx_count, 386);
    EXPECT_EQ(link.cmdrx_param1, "sink_h");
}

TEST_F(EngineTest, BlockReadEndsWithoutBlockOnErrorLines) {
    link.block_follows = true;
    answer_all("$err no_sink\r\n");
    engine.cmdtx_str("$edid_read sink_h,block0\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);  // "$err" is another word
    EXPECT_TRUE(link.cmdrx_block.empty());

    // "err_ddc" at characters 12..18 ends the reply as well.
    answer_all("$edid_read err_ddc,block0\r\n");
    engine.cmdtx_str("$edid_read sink_h,block0\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::ErrorReply);
    EXPECT_TRUE(link.cmdrx_block.empty());
}

TEST_F(EngineTest, ShortBlockIsNoResponse) {
    link.block_follows = true;
    answer_all("$edid_read d1,block0\r\n" + block_text(0).substr(0, 200));
    engine.cmdtx_str("$edid_read d1,block0\r");
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
}

TEST_F(EngineTest, EdidWriteSendsIdenticalBytesOnBothTransports) {
    for (int i = 0; i < 256; ++i) engine.edid_tx_data()[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(255 - i);
    const std::string request = "$edid_write c1,block1\r\n";
    answer_all("$edid_write c1,block1\r\n");
    engine.cmdtx_str(request);
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::Accepted);
    ASSERT_EQ(serial.writes.size(), 2u);
    EXPECT_EQ(serial.writes[0].size(), request.size() + 192);
    EXPECT_EQ(serial.writes[1].size(), 193u);
    EXPECT_EQ(serial.writes[0].substr(request.size(), 6), "7F 7E ");  // byte 128 = 255-128
    EXPECT_EQ(serial.writes[1].substr(189), "00 \r");

    use_ethernet();
    engine.cmdtx_str(request);
    ASSERT_EQ(eth.writes.size(), 1u);
    EXPECT_EQ(eth.wire, serial.wire);
    EXPECT_EQ(link.cmdrx_param2, "block1");
}

TEST_F(EngineTest, EndlessStreamDoesNotGrowTheReplyWithoutBound) {
    link.cmdtx_busy = true;
    const std::string chunk(4096, 'A');
    for (int i = 0; i < 100; ++i) engine.receive_pass(chunk);
    EXPECT_LE(link.cmdrx_str.size(), reply_text_cap);
    EXPECT_FALSE(link.reply_complete);
    engine.receive_pass("\r\n");
    EXPECT_TRUE(link.reply_complete);  // a late line end still completes it
}

TEST_F(EngineTest, LaterIncompletePassClearsCompletion) {
    engine.receive_pass("$a 1\r\n");
    EXPECT_TRUE(link.reply_complete);
    engine.receive_pass("x");  // flags stay set, so it completes again at once
    EXPECT_TRUE(link.reply_complete);
    link.cr_seen = link.lf_seen = false;
    engine.receive_pass("y");
    EXPECT_FALSE(link.reply_complete);
}

}  // namespace
}  // namespace t27::testing
