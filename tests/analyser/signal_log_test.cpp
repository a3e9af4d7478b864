// The signal log's bookkeeping: names that keep items apart, and memory that
// stays bounded however long a run lasts.
#include "analyser/signal_log.h"

#include <gtest/gtest.h>

#include <set>

#include "analyser/analyser_state.h"
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

}  // namespace
}  // namespace t27
