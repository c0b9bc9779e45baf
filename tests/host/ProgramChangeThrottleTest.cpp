#include "core/ProgramChangeThrottle.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramChangeThrottle, FirstChangeIsNeverHeldBack) {
    // Whatever the tick counter reads, including the values of a machine up for weeks.
    for (std::uint32_t now : {0u, 5u, 999u, 0x7FFFFFFFu, 0x80000001u, 0xFFFFFFF0u}) {
        ProgramChangeThrottle throttle;
        EXPECT_TRUE(throttle.ready(now)) << now;
    }
}

TEST(ProgramChangeThrottle, OneApplicationPerSecond) {
    ProgramChangeThrottle throttle;
    throttle.record(50000);
    EXPECT_FALSE(throttle.ready(50000));
    EXPECT_FALSE(throttle.ready(50200));
    EXPECT_FALSE(throttle.ready(50999));
    EXPECT_TRUE(throttle.ready(51000));
    throttle.reset();  // resume forgets the last application
    EXPECT_TRUE(throttle.ready(50001));
}

TEST(ProgramChangeThrottle, TickCounterWrapAround) {
    ProgramChangeThrottle throttle;
    throttle.record(0xFFFFFF00u);
    EXPECT_FALSE(throttle.ready(0xFFFFFF00u + 500u));  // wraps to a small value
    EXPECT_TRUE(throttle.ready(0xFFFFFF00u + 1000u));
    // More than 2^31 ms later the signed difference turns negative; that is long enough too.
    EXPECT_TRUE(throttle.ready(0xFFFFFF00u + 0x80000000u + 5u));
}

}  // namespace
