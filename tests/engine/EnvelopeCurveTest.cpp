#include "engine/EnvelopeCurve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/KernelTestSupport.h"

namespace {

const float kRateFactor = static_cast<float>(16800.0 / 44100.0);
const float* decay() {
    return KernelSetup::tables().decay;
}
float curve(float rate, float frames, float bend) {
    return envelopeCurve(decay(), kRateFactor, rate, frames, bend);
}

TEST(EnvelopeCurve, BendAndRateShapeTheFall) {
    const float half = 128.0f / (2.0f * kRateFactor);   // rate 0: half-way through the segment
    EXPECT_NEAR(curve(0.0f, half, 0.5f), 0.5f, 1e-5f);  // straight line
    EXPECT_NEAR(curve(0.0f, half, 0.0f), decay()[128], 1e-7f);         // 0.93^n
    EXPECT_NEAR(curve(0.0f, half, 1.0f), 1.0f - decay()[127], 1e-6f);  // mirrored
    EXPECT_NEAR(curve(0.0f, half, 0.25f), 0.25f + 0.5f * decay()[128], 1e-6f);
    for (float bend : {0.0f, 0.3f, 1.0f}) {
        EXPECT_FLOAT_EQ(curve(0.4f, 0.0f, bend), 1.0f);
        EXPECT_EQ(curve(0.4f, 1e9f, bend), 0.0f);
    }
    // A segment runs out after 256 / (2 * rate factor * 0.93^round(100 r)) frames.
    for (float rate : {0.0f, 0.37f, 1.0f}) {
        const float end = 256.0f / (2.0f * kRateFactor * decay()[std::lround(rate * 100)]);
        EXPECT_GT(curve(rate, end * 0.99f, 0.5f), 0.0f) << rate;
        EXPECT_EQ(curve(rate, end * 1.001f, 0.5f), 0.0f) << rate;
    }
    EXPECT_EQ(curve(3.0f, 500.0f, 0.5f), curve(1.0f, 500.0f, 0.5f));
}

TEST(EnvelopeCurve, EditorTimesRoundTrip) {
    for (int i = 0; i < 100; ++i) {
        const float x = i * 0.01f;
        EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), envelopeTimeMs(decay(), x)), x) << i;
    }
    EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), 1e7f), 1.0f);
    EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), 1.0f), 0.0f);
}

}  // namespace
