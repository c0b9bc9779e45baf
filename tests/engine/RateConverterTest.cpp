// The rate converter: one continuous interpolation across blocks of any size (which holds only
// when each block asks for exactly the engine frames it needs), pieces for blocks longer than its
// buffers, reset and empty blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/PRateConverter.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Host frames rendered through the converter from a sine that the "engine" continues across
// calls; records the engine frames asked for.
struct SineEngine {
    SineEngine(double f, double rate) : frequency(f), engineRate(rate) {}
    double frequency;
    double engineRate;
    int64_t produced = 0;
    std::vector<int32_t> requests;

    void operator()(float* const buffers[2], int32_t n) {
        requests.push_back(n);
        for (int32_t i = 0; i < n; ++i) {
            double t = static_cast<double>(produced + i) / engineRate;
            buffers[0][i] = static_cast<float>(std::sin(2 * kPi * frequency * t));
            buffers[1][i] = -buffers[0][i];
        }
        produced += n;
    }
};

void expectContinuousSine(double hostRate, uint32_t seed) {
    const double engineRate = 44100.0;
    const double frequency = 200.0;
    PRateConverter converter;
    converter.configure(engineRate, hostRate, 256);  // longer blocks go in pieces
    SineEngine engine{frequency, engineRate};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> size(0, 1500);
    std::vector<float> left, right;
    while (left.size() < 60000) {
        int32_t frames = size(random);
        std::vector<float> l(frames), r(frames);
        float* out[2] = {l.data(), r.data()};
        converter.process(out, frames, engine);
        left.insert(left.end(), l.begin(), l.end());
        right.insert(right.end(), r.begin(), r.end());
    }
    // Host frame k shows the engine stream at k x ratio - 1 engine frames.
    double worst = 0;
    for (size_t k = 100; k < left.size(); ++k) {
        double t = (k * engineRate / hostRate - 1.0) / engineRate;
        double expected = std::sin(2 * kPi * frequency * t);
        worst = std::max(worst, std::fabs(left[k] - expected));
        ASSERT_NEAR(right[k], -left[k], 1e-6) << k;
    }
    EXPECT_LT(worst, 2e-4) << hostRate;
}

TEST(PRateConverter, ContinuousAcrossBlocks) {
    expectContinuousSine(96000.0, 1);
    expectContinuousSine(22050.0, 2);
    expectContinuousSine(88200.0, 3);
    expectContinuousSine(32000.0, 4);
}

TEST(PRateConverter, ResetAndEmptyBlocks) {
    PRateConverter converter;
    std::vector<float> l(64, 5.0f), r(64, 5.0f);
    float* out[2] = {l.data(), r.data()};
    SineEngine engine{100.0, 44100.0};
    converter.process(out, 64, engine);  // never configured: silence, nothing rendered
    EXPECT_TRUE(engine.requests.empty());
    EXPECT_EQ(l[10], 0.0f);

    converter.configure(44100.0, 96000.0, 64);
    converter.process(out, 0, engine);
    EXPECT_TRUE(engine.requests.empty());
    converter.process(out, 5, engine);
    EXPECT_EQ(converter.engineFramesFor(64), 29);  // the position moved off the block start
    converter.reset();
    converter.process(out, 64, engine);
    EXPECT_EQ(engine.requests.back(), 30);  // ceil(64 x 0.459375) from position 0
}

}  // namespace
