#include "engine/FrameLookup.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr float kScale = 3.0517e-05f;

// Frames whose plain set holds base + 100 * frame + j, the positive emphasis set 10000 + j and
// the negative emphasis set -10000 - j.
std::vector<std::int16_t> makeFrames(int count, int base = 1000) {
    std::vector<std::int16_t> frames(count * kFrameValues);
    for (int f = 0; f < count; ++f) {
        for (int j = 0; j < 16; ++j) {
            frames[f * kFrameValues + j] = static_cast<std::int16_t>(base + 100 * f + j);
            frames[f * kFrameValues + 16 + j] = static_cast<std::int16_t>(10000 + j);
            frames[f * kFrameValues + 32 + j] = static_cast<std::int16_t>(-10000 - j);
        }
    }
    return frames;
}

using Lookup = void (*)(float*, const std::int16_t*, int, int, float, float);
const Lookup kLookups[] = {frameLookupPortable, frameLookupSse2};

TEST(FrameLookup, PositionSelectsAndBlendsFrames) {
    const std::vector<std::int16_t> frames = makeFrames(5);
    for (Lookup lookup : kLookups) {
        alignas(16) float k[16];
        lookup(k, frames.data(), 5, 10, 0.99f, 0.5f);  // 0.99 and above: frame 0
        for (int j = 0; j <= 10; ++j) EXPECT_FLOAT_EQ(k[j], (1000 + j) * kScale) << j;
        lookup(k, frames.data(), 5, 10, 1.5f, 0.5f);
        EXPECT_FLOAT_EQ(k[0], 1000 * kScale);
        lookup(k, frames.data(), 5, 10, -0.3f, 0.5f);  // negative: the last frame
        EXPECT_FLOAT_EQ(k[0], 1400 * kScale);
        lookup(k, frames.data(), 5, 10, 0.49f, 0.5f);  // f = 2.5: frames 2 and 3, half each
        for (int j = 0; j <= 10; ++j) EXPECT_NEAR(k[j], (1250 + j) * kScale, 1e-6f) << j;
        lookup(k, frames.data(), 5, 3, NAN, 0.5f);  // a broken position reads frame 0
        EXPECT_FLOAT_EQ(k[3], 1003 * kScale);
    }
}

TEST(FrameLookup, EmphasisSetsBlendOnlyAtOrderTen) {
    const std::vector<std::int16_t> frames = makeFrames(3);
    for (Lookup lookup : kLookups) {
        alignas(16) float k[16];
        lookup(k, frames.data(), 3, 10, 0.99f, 1.0f);  // e = 1: the positive set alone
        for (int j = 0; j <= 10; ++j) EXPECT_FLOAT_EQ(k[j], (10000 + j) * kScale) << j;
        lookup(k, frames.data(), 3, 10, 0.99f, 0.0f);  // e = -1: the negative set alone
        for (int j = 0; j <= 10; ++j) EXPECT_FLOAT_EQ(k[j], (-10000 - j) * kScale) << j;
        lookup(k, frames.data(), 3, 10, 0.99f, 0.75f);  // e = 0.5: half plain, half positive
        EXPECT_FLOAT_EQ(k[2], (1002 + 10002) * 0.5f * kScale);
        // Two frames and emphasis: each frame blended first, then the frames.
        lookup(k, frames.data(), 3, 10, 0.99f - 0.5f / 3.0f, 0.75f);  // f = 0.5
        EXPECT_NEAR(k[0], ((1000 + 10000) * 0.5f + (1100 + 10000) * 0.5f) * 0.5f * kScale, 1e-6f);
        lookup(k, frames.data(), 3, 9, 0.99f, 1.0f);  // other orders read the plain set
        for (int j = 0; j <= 9; ++j) EXPECT_FLOAT_EQ(k[j], (1000 + j) * kScale) << j;
    }
}

TEST(FrameLookup, SmallCoefficientsBecomeTheFloor) {
    std::vector<std::int16_t> frames = makeFrames(1, 0);
    frames[1] = -0;
    frames[2] = 0;
    frames[5] = -1;  // -3e-5: large enough to keep
    for (Lookup lookup : kLookups) {
        alignas(16) float k[16];
        lookup(k, frames.data(), 1, 10, 0.0f, 0.5f);
        EXPECT_EQ(k[0], kCoefficientFloor);
        EXPECT_EQ(k[2], kCoefficientFloor);
        EXPECT_FLOAT_EQ(k[5], -kScale);
    }
}

TEST(FrameLookup, PortableAndSse2AgreeWithEmphasis) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<std::int16_t> frames(7 * kFrameValues);
    for (int trial = 0; trial < 200; ++trial) {
        for (auto& v : frames) v = static_cast<std::int16_t>(value(random));
        const float position = unit(random) * 1.2f - 0.1f;
        const float emphasis = unit(random);
        alignas(16) float portable[16], vector[16];
        frameLookupPortable(portable, frames.data(), 7, 10, position, emphasis);
        frameLookupSse2(vector, frames.data(), 7, 10, position, emphasis);
        for (int j = 0; j <= 10; ++j)
            ASSERT_NEAR(portable[j], vector[j], kScale) << trial << " " << j;
    }
}

}  // namespace
