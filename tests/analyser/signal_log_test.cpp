// The signal log's bookkeeping: names that keep items apart, and memory that
// stays bounded however long a run lasts.
#include "analyser/signal_log.h"

#include <gtest/gtest.h>

#include <set>

#include "analyser/analyser_state.h"
#include "analyser/commands.h"
#include "analyser/dropout_hunt.h"
#include "analyser/monitor_layout.h"
#include "protocol/unit_identity.h"

namespace t27 {
namespace {

// Every value a view shows is an item, and two controls under one name would
// share one remembered value, so a change of one would be reported against
// the other's old value.
TEST(SignalItems, EveryValueHasItsOwnName) {
    for (int task : {task_analyser, task_pattern}) {
        std::set<std::string> names;
        std::size_t count = 0;
        for (int view = 0; view < analyser_view_count; ++view) {
            const std::vector<SignalItem> items = signal_items(view, task, 0, "T27");
            EXPECT_EQ(items.size(), view_value_controls(view).size()) << "view " << view;
            for (const SignalItem& item : items) {
                EXPECT_FALSE(item.name.empty()) << item.control;
                names.insert(item.name);
                ++count;
            }
        }
        EXPECT_EQ(names.size(), count) << "task " << task;
    }
}

TEST(SignalLog, KeepsTheNewestChangesAndCountsEveryOne) {
    SignalLog log(3);
    for (int i = 0; i < 5; ++i) log.add({i, i % 2 ? "odd" : "even", "a", "b"});
    ASSERT_EQ(log.changes().size(), 3u);
    EXPECT_EQ(log.changes().front().time_ms, 2);
    EXPECT_EQ(log.changes().back().time_ms, 4);
    EXPECT_EQ(log.counts().at("even"), 3);
    EXPECT_EQ(log.counts().at("odd"), 2);
    EXPECT_EQ(log.total(), 5);
    log.clear();
    EXPECT_TRUE(log.changes().empty());
    EXPECT_TRUE(log.counts().empty());
}

// A source on a timeline, asked through the hunt loop on a clock that moves
// 2 ms per request: each dropout is found once, timed to within one round of
// the truth, and a switch without a loss is no dropout at all.
TEST(DropoutHunt, EachDropoutOnceWithinOneRound) {
    struct Span {
        std::int64_t from, to;
        const char* five_v;
        const char* resolution;
    };
    struct Case {
        const char* name;
        std::vector<Span> timeline;  // outside every span: 1920x1080p60 with 5 V
        std::vector<Dropout> expected;
    };
    const Case cases[] = {
        {"lost and back", {{100, 120, "off", "none"}, {500, 1000, "off", "none"}},
         {{100, 120, true}, {500, 1000, true}}},
        {"changed and back", {{300, 350, "on", "1280x720p60"}}, {{300, 350, false}}},
        {"a switch is no dropout", {{300, 9000, "on", "1280x720p60"}}, {}},
        {"lost, then another signal", {{300, 400, "off", "none"}, {400, 9000, "on", "720x480p60"}},
         {{300, 400, true}}},
    };
    constexpr std::int64_t round_ms = 10;  // 4 signal items and one other, 2 ms each
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::int64_t now = 0;
        auto at = [&](int index) {
            const char* five_v = "on";
            const char* resolution = "1920x1080p60";
            for (const Span& s : c.timeline)
                if (now >= s.from && now < s.to) five_v = s.five_v, resolution = s.resolution;
            HuntAnswer a;
            a.status = HuntAnswer::Answered;
            a.reply.p1 = index == cmd::sd_5v     ? "5v"
                         : index == cmd::sd_ckdt ? "ckdt"
                         : index == cmd::sd_scdt ? "scdt"
                         : index == cmd::sd_timingx ? "timingx"
                                                    : "avi";
            a.reply.p2 = index == cmd::sd_timingx ? resolution : five_v;
            if (index == cmd::sd_avi) a.reply.p2 = "off";
            // A late reply to the item before, over a slow line, names that
            // item: it must not end the dropout.
            if (index == cmd::sd_5v && now % 50 == 2) a.reply = {"timingx", "1920x1080p60", "None"};
            return a;
        };
        DropoutHuntOptions o;
        o.rest = {{view_system, cmd::sd_avi}};
        std::vector<Dropout> found;
        DropoutHuntIo io;
        io.ask = [&](int index) {
            now += 2;
            return at(index);
        };
        io.now_ms = [&] { return now; };
        io.stopping = [&] { return now >= 6000; };
        io.on_dropout = [&](const Dropout& d) { found.push_back(d); };
        const HuntSummary summary = run_dropout_hunt(o, io);
        EXPECT_FALSE(summary.link_lost);
        EXPECT_NEAR(summary.mean_round_ms, round_ms, 0.1);
        EXPECT_EQ(summary.dropouts, static_cast<std::int64_t>(found.size()));
        ASSERT_EQ(found.size(), c.expected.size());
        for (std::size_t n = 0; n < found.size(); ++n) {
            EXPECT_EQ(found[n].lost, c.expected[n].lost);
            EXPECT_GE(found[n].start_ms, c.expected[n].start_ms);
            // A round, and the one read a late reply may cost.
            EXPECT_LE(found[n].start_ms, c.expected[n].start_ms + round_ms + 2);
            EXPECT_GE(found[n].end_ms, c.expected[n].end_ms);
            EXPECT_LE(found[n].end_ms, c.expected[n].end_ms + round_ms + 2);
        }
    }
}

TEST(DropoutHunt, SilenceAndALostLinkEndTheHunt) {
    for (const auto& [status, requests] :
         {std::pair{HuntAnswer::Silent, hunt_silent_requests_lost}, {HuntAnswer::LinkLost, 1}}) {
        int asked = 0;
        DropoutHuntIo io;
        io.ask = [&](int) {
            HuntAnswer a;
            a.status = ++asked > 20 ? status : HuntAnswer::Answered;
            a.reply = {"5v", "on", "None"};
            return a;
        };
        io.now_ms = [&] { return std::int64_t{asked}; };
        io.stopping = [] { return false; };
        const HuntSummary s = run_dropout_hunt({}, io);
        EXPECT_TRUE(s.link_lost);
        EXPECT_EQ(asked, 20 + requests);
        EXPECT_EQ(s.rounds, 5);
    }
}

}  // namespace
}  // namespace t27
