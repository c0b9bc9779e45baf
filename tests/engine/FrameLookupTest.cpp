#include "engine/FrameLookup.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr float kScale = 3.0517e-05f;
using Lookup = void (*)(float*, const std::int16_t*, int, int, float, float);
const Lookup kLookups[] = {frameLookupPortable, frameLookupSse2};

// Frame f: plain set 1000 + 100 f + j, positive emphasis 10000 + j, negative -10000 - j.
std::vector<std::int16_t> makeFrames(int count) {
    std::vector<std::int16_t> frames(count * kFrameValues);
    for (int f = 0; f < count; ++f) {
        for (int j = 0; j < 16; ++j) {
            frames[f * kFrameValues + j] = static_cast<std::int16_t>(1000 + 100 * f + j);
            frames[f * kFrameValues + 16 + j] = static_cast<std::int16_t>(10000 + j);
            frames[f * kFrameValues + 32 + j] = static_cast<std::int16_t>(-10000 - j);
        }
    }
    return frames;
}

TEST(FrameLookup, PositionSelectsAndBlendsFrames) {
    const std::vector<std::int16_t> frames = makeFrames(5);
    const struct {
        float position, expected;  // coefficient 3 for each position
    } cases[] = {{0.99f, 1003}, {1.5f, 1003}, {-0.3f, 1403}, {0.49f, 1253}, {NAN, 1003}};
    for (Lookup lookup : kLookups) {
        for (const auto& c : cases) {
            alignas(16) float k[16];
            lookup(k, frames.data(), 5, 10, c.position, 0.5f);
            EXPECT_NEAR(k[3], c.expected * kScale, 1e-6f) << c.position;
        }
        std::vector<std::int16_t> zeros(kFrameValues, 0);
        alignas(16) float k[16];
        lookup(k, zeros.data(), 1, 10, 0.0f, 0.5f);
        EXPECT_EQ(k[0], kCoefficientFloor);  // tiny coefficients become +1e-6
    }
}

TEST(FrameLookup, EmphasisSetsBlendInOnlyAtOrderTen) {
    const std::vector<std::int16_t> frames = makeFrames(3);
    const struct {
        int order;
        float position, emphasis, expected;
    } cases[] = {
        {10, 0.99f, 1.0f, 10002},                   // e = 1: the positive set alone
        {10, 0.99f, 0.0f, -10002},                  // e = -1: the negative set alone
        {10, 0.99f, 0.75f, (1002 + 10002) * 0.5f},  // half and half
        {10, 0.99f - 0.5f / 3, 0.75f, ((1002 + 10002) + (1102 + 10002)) * 0.25f},
        {9, 0.99f, 1.0f, 1002},  // other orders read the plain set
    };
    for (Lookup lookup : kLookups) {
        for (const auto& c : cases) {
            alignas(16) float k[16];
            lookup(k, frames.data(), 3, c.order, c.position, c.emphasis);
            EXPECT_NEAR(k[2], c.expected * kScale, 1e-6f) << c.order << " " << c.emphasis;
        }
    }
}

TEST(FrameLookup, PortableAndSse2AgreeWithEmphasis) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<std::int16_t> frames(7 * kFrameValues);
    for (int trial = 0; trial < 200; ++trial) {
        for (auto& v : frames) v = static_cast<std::int16_t>(value(random));
        alignas(16) float portable[16], vector[16];
        const float position = unit(random) * 1.2f - 0.1f, emphasis = unit(random);
        frameLookupPortable(portable, frames.data(), 7, 10, position, emphasis);
        frameLookupSse2(vector, frames.data(), 7, 10, position, emphasis);
        for (int j = 0; j <= 10; ++j) ASSERT_NEAR(portable[j], vector[j], kScale) << trial;
    }
}

}  // namespace
