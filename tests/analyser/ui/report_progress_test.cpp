#include "analyser/report_progress.h"

#include <gtest/gtest.h>

namespace t27 {
namespace {

TEST(ReportProgress, NamesTheSectionBeingWorkedOnAndTheItemsDone) {
    // Two sections of 38 and 19 items: nothing done yet, then 40 done (two
    // into the second section), then all done.
    EXPECT_EQ(report_progress_text({0, 2, 0, 57}), "Building report: section 1 of 2, item 0 of 57");
    EXPECT_EQ(report_progress_text({1, 2, 40, 57}),
              "Building report: section 2 of 2, item 40 of 57");
    EXPECT_EQ(report_progress_text({2, 2, 57, 57}),
              "Building report: section 2 of 2, item 57 of 57");
    EXPECT_EQ(report_stopped_text({0, 1, 12, 38}),
              "Report stopped, the unit did not answer: section 1 of 1, item 12 of 38");
}

TEST(ReportProgress, BarFollowsItemsAndCopesWithEmptySections) {
    EXPECT_EQ(report_progress_permille({0, 1, 0, 38}), 0);
    EXPECT_EQ(report_progress_permille({0, 1, 19, 38}), 500);
    EXPECT_EQ(report_progress_permille({1, 1, 38, 38}), 1000);
    // Packet in pattern mode has no items: the bar stays at 0, no division by 0.
    EXPECT_EQ(report_progress_permille({1, 1, 0, 0}), 0);
    EXPECT_EQ(report_progress_text({1, 1, 0, 0}), "Building report: section 1 of 1, item 0 of 0");
}

}  // namespace
}  // namespace t27
