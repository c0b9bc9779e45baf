#include "engine/VoiceTables.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/KernelTestSupport.h"

namespace {

// The sinc rows: the same level at every phase, sums that never overflow 32 bits. (The padding
// weights that only the vector kernel reads are pinned by the kernels' agreement test.)
TEST(VoiceTables, SincRows) {
    const VoiceTables& t = KernelSetup::tables();
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        int sum = 0, magnitude = 0;
        for (int tap = 0; tap < kSincRowLength; ++tap) {
            sum += t.sinc[phase][tap];
            magnitude += std::abs(t.sinc[phase][tap]);
        }
        EXPECT_NEAR(sum, 32040, 40) << phase;
        EXPECT_LT(magnitude * 32768LL, 1LL << 31) << phase;
    }
    // Phase 128 interpolates exactly at tap 5.
    EXPECT_EQ(t.sinc[128][4], t.sinc[128][6]);
    EXPECT_GT(t.sinc[128][5], t.sinc[128][4]);
}

}  // namespace
