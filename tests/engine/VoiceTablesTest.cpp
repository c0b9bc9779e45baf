#include "engine/VoiceTables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

const VoiceTables& tables() {
    static const std::unique_ptr<VoiceTables> built = [] {
        auto t = std::make_unique<VoiceTables>();
        buildVoiceTables(*t);
        return t;
    }();
    return *built;
}

TEST(VoiceTables, DecayFallsBySevenPercentAndEndsAtZero) {
    const float* d = tables().decay;
    EXPECT_EQ(d[0], 1.0f);
    EXPECT_EQ(d[1], 0.93f);
    EXPECT_EQ(d[2], 0.93f * 0.93f);
    EXPECT_EQ(d[255], 0.0f);
    for (int i = 1; i < 255; ++i) ASSERT_LT(d[i], d[i - 1]) << i;
    EXPECT_GT(d[254], 0.0f);
}

TEST(VoiceTables, SincRowsHaveElevenTapsAndUnityGain) {
    const auto& sinc = tables().sinc;
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        int sum = 0, magnitude = 0;
        for (int tap = 0; tap < kSincRowLength; ++tap) {
            if (tap >= kSincTaps) {
                ASSERT_EQ(sinc[phase][tap], 0) << phase << " " << tap;
            }
            sum += sinc[phase][tap];
            magnitude += std::abs(sinc[phase][tap]);
        }
        // The same level at every phase (no amplitude modulation by the fraction) ...
        EXPECT_NEAR(sum, 32040, 40) << phase;
        // ... and no 32-bit overflow for any 16-bit input.
        EXPECT_LT(static_cast<long long>(magnitude) * 32768, 1LL << 31) << phase;
    }
    // Phase 0 interpolates half-way between taps 4 and 5, phase 128 exactly at tap 5.
    for (int tap = 0; tap < 5; ++tap) EXPECT_EQ(sinc[0][tap], sinc[0][9 - tap]);
    for (int tap = 0; tap < 5; ++tap) EXPECT_EQ(sinc[128][5 - tap], sinc[128][5 + tap]);
    EXPECT_GT(sinc[128][5], sinc[128][4]);
}

TEST(VoiceTables, LinearRowsSplit32000ByPhase) {
    const auto& linear = tables().linear;
    EXPECT_EQ(linear[0][0], 32000);
    EXPECT_EQ(linear[0][1], 0);
    EXPECT_EQ(linear[128][0], 16000);
    EXPECT_EQ(linear[128][1], 16000);
    EXPECT_EQ(linear[255][0], 125);
    EXPECT_EQ(linear[255][1], 31875);
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        EXPECT_EQ(linear[phase][2], 0);
        EXPECT_EQ(linear[phase][3], 0);
    }
}

}  // namespace
