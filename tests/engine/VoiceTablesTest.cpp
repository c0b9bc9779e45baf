#include "engine/VoiceTables.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/KernelTestSupport.h"

namespace {

TEST(VoiceTables, DecayLinearAndSincValues) {
    const VoiceTables& t = KernelSetup::tables();
    EXPECT_EQ(t.decay[0], 1.0f);
    EXPECT_EQ(t.decay[255], 0.0f);
    EXPECT_EQ(t.linear[255][0], 125);
    EXPECT_EQ(t.linear[255][1], 31875);
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        int sum = 0, magnitude = 0;
        for (int tap = 0; tap < kSincRowLength; ++tap) {
            if (tap >= kSincTaps) {
                EXPECT_EQ(t.sinc[phase][tap], 0);
            }
            sum += t.sinc[phase][tap];
            magnitude += std::abs(t.sinc[phase][tap]);
        }
        EXPECT_NEAR(sum, 32040, 40) << phase;                // the same level at every phase
        EXPECT_LT(magnitude * 32768LL, 1LL << 31) << phase;  // 32-bit sums never overflow
        EXPECT_EQ(t.linear[phase][2] | t.linear[phase][3], 0);
    }
    // Phase 128 interpolates exactly at tap 5.
    EXPECT_EQ(t.sinc[128][4], t.sinc[128][6]);
    EXPECT_GT(t.sinc[128][5], t.sinc[128][4]);
}

}  // namespace
