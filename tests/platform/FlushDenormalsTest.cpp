// Flush-to-zero inside the scope, the caller's mode restored after it.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Platform.h"

namespace {

// Halves a subnormal at run time (volatile keeps the compiler from folding it).
float halfOfSubnormal() {
    volatile float tiny = 1e-39f;
    volatile float half = 0.5f;
    return tiny * half;
}

TEST(FlushDenormals, SubnormalsBecomeZeroOnlyInsideTheScope) {
#if !defined(__SSE__) && !defined(__x86_64__)
    GTEST_SKIP() << "no flush-to-zero mode on this processor";
#else
    ASSERT_EQ(std::fpclassify(halfOfSubnormal()), FP_SUBNORMAL);
    {
        const platform::ScopedFlushDenormals outer;
        EXPECT_EQ(halfOfSubnormal(), 0.0f);
        {
            const platform::ScopedFlushDenormals inner;
            EXPECT_EQ(halfOfSubnormal(), 0.0f);
        }
        EXPECT_EQ(halfOfSubnormal(), 0.0f);  // the inner scope restores the outer's mode
    }
    EXPECT_EQ(std::fpclassify(halfOfSubnormal()), FP_SUBNORMAL);
#endif
}

}  // namespace
