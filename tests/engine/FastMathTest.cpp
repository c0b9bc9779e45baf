// The rounding and power of two the voices use at every control block, against the C library's.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/FastMath.h"

TEST(FastMath, RoundsHalvesToEvenLikeTheLibrary) {
    for (float x : {0.5f, 1.5f, 2.5f, -0.5f, -1.5f, 99.5f, 100.49f, 255.5f, 12.000001f})
        EXPECT_EQ(roundToEven(x), int(std::nearbyint(x))) << x;
    for (double x : {4095.5, 4096.5, 0.49999999999999994, -7.5})
        EXPECT_EQ(roundToEven(x), std::int64_t(std::nearbyint(x))) << x;
}

TEST(FastMath, PowersOfTwoAreFarMorePreciseThanTheFloatIncrementsOverThePitchRange) {
    // Every pitch a voice can be asked for (semitones / 12 from -10 to 10 octaves), closely
    // stepped, and the exact powers.
    for (double x = -10.0; x <= 10.0; x += 1.0 / 1024.0 + 1e-7)
        ASSERT_NEAR(pow2(x) / std::exp2(x), 1.0, 1e-14) << x;
    for (int n = -60; n <= 60; ++n) EXPECT_EQ(pow2(n), std::ldexp(1.0, n)) << n;
}
