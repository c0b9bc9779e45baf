#include "engine/EnvelopeCurve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/KernelTestSupport.h"

namespace {

const float kRateFactor44k = static_cast<float>(1.0 / 44100.0 * 16800.0);

const float* decay() {
    return KernelSetup::tables().decay;
}

float curve(float rate, float frames, float bend) {
    return envelopeCurve(decay(), kRateFactor44k, rate, frames, bend);
}

TEST(EnvelopeCurve, BendShapesTheFallFromOneToZero) {
    for (float bend : {0.0f, 0.2f, 0.5f, 0.8f, 1.0f}) {
        EXPECT_FLOAT_EQ(curve(0.3f, 0.0f, bend), 1.0f) << bend;
        float previous = 1.0f;
        for (float t = 0.0f; t < 5000.0f; t += 37.0f) {
            const float v = curve(0.3f, t, bend);
            ASSERT_LE(v, previous + 1e-6f) << bend << " " << t;
            ASSERT_GE(v, 0.0f);
            previous = v;
        }
        EXPECT_EQ(curve(0.3f, 1e9f, bend), 0.0f) << bend;
    }
    // Rate 0 at 44100 Hz: x = t * 0.762, so 128 steps are reached after 168 frames.
    const float t = 128.0f / (2.0f * kRateFactor44k);
    EXPECT_NEAR(curve(0.0f, t, 0.5f), 0.5f, 1e-5f);                 // straight line
    EXPECT_NEAR(curve(0.0f, t, 0.0f), decay()[128], 1e-7f);         // exponential
    EXPECT_NEAR(curve(0.0f, t, 1.0f), 1.0f - decay()[127], 1e-6f);  // mirrored
    EXPECT_NEAR(curve(0.0f, t, 0.25f), 0.5f * 0.5f + 0.5f * decay()[128], 1e-6f);
}

TEST(EnvelopeCurve, RateSetsTheSegmentLength) {
    // A segment runs out after 256 / (2 * rateFactor * 0.93^round(100 r)) frames.
    for (float rate : {0.0f, 0.37f, 1.0f}) {
        const float frames = 256.0f / (2.0f * kRateFactor44k * decay()[std::lround(rate * 100)]);
        EXPECT_GT(curve(rate, frames * 0.99f, 0.5f), 0.0f) << rate;
        EXPECT_EQ(curve(rate, frames * 1.001f, 0.5f), 0.0f) << rate;
    }
    EXPECT_EQ(curve(3.0f, 500.0f, 0.5f), curve(1.0f, 500.0f, 0.5f));  // clamped
    EXPECT_EQ(curve(-1.0f, 100.0f, 0.5f), curve(0.0f, 100.0f, 0.5f));
}

TEST(EnvelopeCurve, EditorTimesRoundTrip) {
    EXPECT_FLOAT_EQ(envelopeTimeMs(decay(), 0.0f), 7.59f);
    EXPECT_NEAR(envelopeTimeMs(decay(), 1.0f), 7.59f / std::pow(0.93f, 100.0f), 1.0f);
    for (int i = 0; i < 100; ++i) {
        const float x = i * 0.01f;
        EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), envelopeTimeMs(decay(), x)), x) << i;
    }
    EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), 1e7f), 1.0f);  // longer than any rate
    EXPECT_FLOAT_EQ(envelopeParamFromMs(decay(), 1.0f), 0.0f);  // shorter than any rate
}

TEST(EnvelopeCurve, RoundingTiesGoToEven) {
    EXPECT_EQ(roundToEven(0.5f), 0);
    EXPECT_EQ(roundToEven(1.5f), 2);
    EXPECT_EQ(roundToEven(2.5f), 2);
    EXPECT_EQ(roundToEven(-1.5f), -2);
    EXPECT_EQ(roundToEven(1.4999f), 1);
}

}  // namespace
