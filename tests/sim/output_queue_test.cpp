#include "sim/output_queue.h"

#include <gtest/gtest.h>

#include <string>

namespace t27::sim {
namespace {

TEST(OutputQueue, DelaysCountFromThePreviousEmission) {
    OutputQueue q;
    q.push({{"a", 100, false}, {"b", 0, false}, {"c", 50, false}}, 1000);
    bool close = false;
    EXPECT_EQ(q.take(1099, close), "");
    EXPECT_EQ(q.wait_ms(1099), 1);
    EXPECT_EQ(q.take(1100, close), "ab");
    EXPECT_EQ(q.wait_ms(1100), 50);
    EXPECT_EQ(q.take(1149, close), "");
    EXPECT_EQ(q.take(1150, close), "c");
    EXPECT_TRUE(q.empty());
    EXPECT_EQ(q.wait_ms(1150), -1);
    // A later reply waits for what is still queued before it, not just for
    // its own delay.
    q.push({{"x", 300, false}}, 2000);
    q.push({{"y", 0, false}}, 2010);
    EXPECT_EQ(q.take(2299, close), "");
    EXPECT_EQ(q.take(2300, close), "xy");
}

TEST(OutputQueue, SerialRateReleasesBytesAsTheyWouldArrive) {
    // 115200 baud with ten bit times per byte: 11.52 bytes per millisecond.
    OutputQueue q(serial_bytes_per_ms(115200));
    std::string block(386, 'A');
    q.push({{block, 0, false}}, 0);
    bool close = false;
    std::size_t got = q.take(0, close).size();
    EXPECT_EQ(got, 0u);
    got += q.take(10, close).size();
    EXPECT_EQ(got, 115u);  // floor(10 × 11.52)
    got += q.take(33, close).size();
    EXPECT_EQ(got, 380u);  // floor(33 × 11.52)
    EXPECT_FALSE(q.empty());
    EXPECT_GE(q.wait_ms(33), 1);
    got += q.take(34, close).size();
    EXPECT_EQ(got, 386u);  // 386 / 11.52 = 33.5 ms
    EXPECT_TRUE(q.empty());
    // The line idled meanwhile: a new emission starts from its own due time.
    q.push({{std::string(12, 'B'), 0, false}}, 100);
    EXPECT_EQ(q.take(101, close).size(), 11u);
}

TEST(OutputQueue, CloseIsReportedOnlyAfterTheLastByte) {
    OutputQueue q(serial_bytes_per_ms(115200));
    q.push({{std::string(23, 'x'), 0, true}, {"never", 0, false}}, 0);
    bool close = false;
    EXPECT_EQ(q.take(1, close).size(), 11u);
    EXPECT_FALSE(close);
    EXPECT_EQ(q.take(2, close).size(), 12u);
    EXPECT_TRUE(close);
    // Nothing after a close goes out.
    EXPECT_TRUE(q.empty());
}

}  // namespace
}  // namespace t27::sim
