// The LFOs: layer shapes and step patterns, the per-voice evaluation (speeds, sync, master LFO,
// smoothing, delay fade, pitch shapes), and the free-running VsLFO / LFO oscillators.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/LFO.h"
#include "engine/LayerLfo.h"
#include "engine/LfoShapes.h"
#include "engine/VoiceTables.h"

namespace {

constexpr double kBlock = 512.0 / 44100.0;  // seconds per evaluation at 44100 Hz

TEST(LfoShapes, StepPatternsFromShapes) {
    uint8_t steps[16];
    lfoStepsFromShape(kShapeSine, steps);
    EXPECT_EQ(std::vector<int>(steps, steps + 16),
              (std::vector<int>{8, 11, 13, 15, 15, 14, 12, 9, 7, 4, 2, 1, 1, 3, 5, 8}));
    lfoStepsFromShape(kShapeSaw1, steps);
    lfoStepsFromShape(0x41424344, steps);  // unknown: unchanged
    for (int i = 0; i < 16; ++i) EXPECT_EQ(steps[i], i);

    bool varied = false;
    for (int round = 0; round < 4; ++round) {
        lfoStepsFromShape(kShapeRand, steps);
        for (int i = 0; i < 16; ++i) {
            EXPECT_LE(steps[i], 15);
            varied |= steps[i] != steps[0];
        }
    }
    EXPECT_TRUE(varied);
}

TEST(LfoShapes, ShapeTables) {
    std::vector<float> t(kLayerTableSize, 7.0f);
    EXPECT_FALSE(buildShapeTable(kShapeRand, t.data()));
    EXPECT_EQ(t[100], 7.0f);
    ASSERT_TRUE(buildShapeTable(kShapeSaw1, t.data()));
    EXPECT_FLOAT_EQ(t[0], -0.5f);
    EXPECT_FLOAT_EQ(t[4095], 0.5f);
    buildShapeTable(kShapeSine, t.data());
    EXPECT_NEAR(t[1024], 0.5f, 1e-3);
    EXPECT_NEAR(t[3071], -0.5f, 1e-3);
}

TEST(LfoShapes, PatternTablesGlideBetweenSteps) {
    uint8_t steps[16] = {0, 15, 15, 0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 40};
    std::vector<float> t(kLayerTableSize), again(kLayerTableSize);
    buildLayerTable(kShapePattern, t.data(), steps);
    EXPECT_FLOAT_EQ(t[0], -0.5f);
    EXPECT_FLOAT_EQ(t[255], 0.5f);  // the segment ends on the next step's level
    EXPECT_FLOAT_EQ(t[128], 0.5f * (-1.0f + 128.0f / 255.0f * 2.0f));
    EXPECT_FLOAT_EQ(t[256], 0.5f);
    EXPECT_FLOAT_EQ(t[15 * 256], 0.5f);  // a level above 15 counts as 15
    EXPECT_FLOAT_EQ(t[4095], -0.5f);     // and the cycle returns to step 0

    buildLayerTable(kShapeRand, again.data(), steps);  // "Rand" expands the stored steps
    EXPECT_EQ(t, again);
    buildLayerTable(kShapeSaw1, t.data(), steps);
    EXPECT_FLOAT_EQ(t[0], -0.5f);
    EXPECT_FLOAT_EQ(t[4095], 0.5f);
}

class LayerLfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildVoiceTables(tables);
        for (int i = 0; i < kLayerTableSize; ++i) {
            ramp[i] = i / 4096.0f - 0.5f;
            constant[i] = 0.25f;
        }
        layerTables[0] = ramp.data();
        layerTables[1] = constant.data();
        layerTables[2] = constant.data();
        context.params = params;
        context.decayTable = tables.decay;
        context.layerTables = layerTables;
        for (int k = 0; k < 4; ++k) params[34 + 5 * k] = 1.0f;  // every Amount at 1
        state.reset();
        state.advanceDelay(100000);  // past every delay fade
    }
    double increment(int k) {
        state.phase[k] = 0.0f;
        lfoValue(context, state, k, 1.0f);
        return state.phase[k];
    }

    VoiceTables tables;
    std::vector<float> ramp = std::vector<float>(kLayerTableSize);
    std::vector<float> constant = std::vector<float>(kLayerTableSize);
    const float* layerTables[3];
    float params[108] = {};
    LayerLfoContext context;
    LayerLfoState state;
};

TEST_F(LayerLfoTest, FreeSpeeds) {
    params[32] = 0.0f;
    EXPECT_NEAR(increment(0) / kBlock, 0.113, 0.002);
    params[32] = 0.5f;
    EXPECT_NEAR(increment(0) / kBlock, 0.113 / std::pow(0.93, 35), 0.005);
    params[47] = 0.5f;  // the pitch LFO runs 4.6 times faster at the same setting
    EXPECT_NEAR(increment(3) / increment(0), 4.6, 1e-3);
}

TEST_F(LayerLfoTest, TempoSync) {
    context.hostTempo = 120.0;
    params[36] = 1.0f;
    params[32] = 0.5f;  // "1/4T": 2/3 beat, 3 cycles per second at 120
    EXPECT_NEAR(increment(0) / kBlock, 3.0, 1e-4);
    params[32] = 0.0f;  // 8 beats per cycle
    EXPECT_NEAR(increment(0), 0.25 * kBlock, 1e-7);
    params[32] = 1.0f;  // "1/32D"
    EXPECT_NEAR(increment(0) / kBlock, 2.0 / 0.1875, 1e-3);
    params[32] = 0.0f;
    context.hostTempo = 1000.0;
    double fastest = increment(0);
    context.hostTempo = 5000.0;  // limited to 1000 beats per minute
    EXPECT_EQ(increment(0), fastest);
}

TEST_F(LayerLfoTest, SmoothingQuantisesThePhase) {
    params[72] = 0.0f;  // 16 steps per cycle
    state.phase[0] = 0.1f;
    params[32] = 0.0f;
    float v = lfoValue(context, state, 0, 1.0f);
    float step = std::floor(state.phase[0] * 16.0f);
    EXPECT_FLOAT_EQ(v, ramp[static_cast<int>(step * 256)]);
    params[72] = 1.0f;  // 144 steps per cycle
    state.phase[0] = 0.5f;
    v = lfoValue(context, state, 0, 1.0f);
    step = std::floor(state.phase[0] * 144.0f);
    EXPECT_FLOAT_EQ(v, ramp[static_cast<int>(std::nearbyint(step * 4096.0f / 144.0f))]);
}

TEST_F(LayerLfoTest, BypassAmountAndMasterLfo) {
    EXPECT_FLOAT_EQ(lfoValue(context, state, 1, 2.0f), 0.5f);  // own table, scaled by the input
    params[39] = 0.0f;                                         // Top amount 0
    EXPECT_EQ(lfoValue(context, state, 1, 1.0f), 0.0f);
    params[75] = 0.4f;  // all layers follow the Base LFO: its amount and its table
    state.phase[1] = 0.75f;
    state.phase[0] = 0.0f;
    float top = lfoValue(context, state, 1, 1.0f);
    EXPECT_NEAR(top, ramp[3072], 0.01f);
    EXPECT_EQ(state.phase[0], 0.0f);  // each layer keeps its own phase
    params[75] = 1.0f;                // all follow the Filter LFO
    EXPECT_FLOAT_EQ(lfoValue(context, state, 0, 1.0f), 0.25f);
    params[92] = 1.0f;  // bypass silences the layer LFOs but not the pitch LFO
    EXPECT_EQ(lfoValue(context, state, 2, 1.0f), 0.0f);
    params[50] = 0.0f;  // pitch form 0: square
    state.phase[3] = 0.7f;
    EXPECT_EQ(lfoValue(context, state, 3, 1.0f), 1.0f);
}

TEST_F(LayerLfoTest, DelayFadesIn) {
    state.reset();
    params[33] = 0.0f;  // fully faded in after 128 / rate factor frames (7.6 ms)
    EXPECT_EQ(lfoValue(context, state, 1, 1.0f), 0.0f);
    state.advanceDelay(168);
    EXPECT_NEAR(lfoValue(context, state, 1, 1.0f), 0.125f, 1e-3);
    state.advanceDelay(200);
    EXPECT_FLOAT_EQ(lfoValue(context, state, 1, 1.0f), 0.25f);
}

TEST_F(LayerLfoTest, PitchShapes) {
    auto at = [&](float form, float phase) {
        params[50] = form;
        state.phase[3] = phase;
        params[47] = 0.0f;
        float v = lfoValue(context, state, 3, 1.0f);
        return std::pair<float, float>(v, state.phase[3]);
    };
    auto [saw, p1] = at(0.22f, 0.3f);  // form 1: phase - 0.5
    EXPECT_FLOAT_EQ(saw, p1 - 0.5f);
    auto [down, p2] = at(0.44f, 0.3f);  // form 2: 0.5 - phase
    EXPECT_FLOAT_EQ(down, 0.5f - p2);
    auto [sine, p3] = at(0.67f, 0.25f);  // form 3: half a sine
    EXPECT_NEAR(sine, 0.5f * std::sin(6.2831855f * p3), 1e-6);

    params[50] = 1.0f;  // form 4: a random value held for a cycle
    state.phase[3] = 0.1f;
    float held = lfoValue(context, state, 3, 1.0f);
    EXPECT_GE(held, 0.0f);
    EXPECT_LT(held, 1.0f);
    EXPECT_EQ(lfoValue(context, state, 3, 1.0f), held);
    std::vector<float> seen;
    for (int cycle = 0; cycle < 5; ++cycle) {
        state.phase[3] = 0.9999f;
        params[47] = 1.0f;
        seen.push_back(lfoValue(context, state, 3, 1.0f));
    }
    int changes = 0;  // a new value after each wrap
    for (size_t i = 1; i < seen.size(); ++i) changes += seen[i] != seen[i - 1];
    EXPECT_GE(changes, 3);
}

TEST(VsLFO, WaveTables) {
    VsLFO::buildWaves();
    const float* raised = VsLFO::waveTable(0);
    EXPECT_FLOAT_EQ(raised[0], 0.0f);
    EXPECT_FLOAT_EQ(raised[2048], 1.0f);
    const float* ramp4 = VsLFO::waveTable(4);
    EXPECT_EQ(ramp4[819], 0.0f);
    EXPECT_EQ(ramp4[820], 0.0f);
    EXPECT_FLOAT_EQ(ramp4[821], 0.00030517578125f);
    EXPECT_EQ(VsLFO::waveTable(5)[614], 0.0f);
    EXPECT_EQ(VsLFO::waveTable(5)[615], 1.0f);
    EXPECT_FLOAT_EQ(VsLFO::waveTable(9)[100], 1.0f - VsLFO::waveTable(8)[3995]);
    for (int w = 0; w < VsLFO::kWaveCount; ++w)
        for (int i = 0; i < VsLFO::kTableSize; ++i) {
            ASSERT_GE(VsLFO::waveTable(w)[i], -1e-6f) << w << " " << i;
            ASSERT_LE(VsLFO::waveTable(w)[i], 1.0f + 1e-6f) << w << " " << i;
        }
}

// Counts the cycles of the saw wave in `seconds` at 44100 Hz.
int cycles(VsLFO& lfo, double seconds) {
    lfo.setWave(3);
    std::vector<float> out(static_cast<size_t>(seconds * 44100));
    lfo.process(out.data(), static_cast<int32_t>(out.size()));
    int wraps = 0;
    for (size_t i = 1; i < out.size(); ++i) wraps += out[i] < out[i - 1] - 0.5f;
    return wraps;
}

TEST(VsLFO, SpeedsFreeAndSynchronised) {
    VsLFO free;
    free.setSpeed(3.0, 44100.0);
    EXPECT_EQ(cycles(free, 2.0), 6);
    VsLFO perBeat;
    perBeat.setTempo(120.0);
    perBeat.setSpeed(0.6, 0.0);  // one cycle per beat
    EXPECT_EQ(cycles(perBeat, 3.0), 6);
    LFO noteValue;
    noteValue.setTempo(120.0);
    noteValue.setSpeed(0.0, 44100.0);  // "1/1": one cycle in 4 beats
    EXPECT_EQ(cycles(noteValue, 4.1), 2);
    noteValue.setSpeed(1.0, 0.0);  // "1/32D"
    EXPECT_NEAR(noteValue.phaseIncrement(), 4096.0 / 44100.0 * 2.0 / 0.1875, 1e-9);
    noteValue.setSampleRate(22050.0);  // the speed in cycles per second survives a rate change
    EXPECT_NEAR(noteValue.phaseIncrement(), 4096.0 / 22050.0 * 2.0 / 0.1875, 1e-9);
}

TEST(VsLFO, DelayFades) {
    VsLFO steady;
    steady.setWave(2);
    steady.trigger();
    std::vector<float> out(200000);
    steady.process(out.data(), 200000);
    float peak = 0;
    for (size_t i = 150000; i < out.size(); ++i) peak = std::max(peak, out[i]);
    EXPECT_EQ(peak, 1.0f);

    VsLFO fadeOut;
    fadeOut.setWave(2);
    fadeOut.setSpeed(10.0, 44100.0);
    fadeOut.setDelay(0.0);
    fadeOut.trigger();
    fadeOut.process(out.data(), 200000);
    float late = 0, early = 0;
    for (int i = 60000; i < 70000; ++i) early = std::max(early, out[i]);
    for (int i = 132300; i < 200000; ++i) late = std::max(late, out[i]);
    EXPECT_NEAR(early, 1.0f - 60000.0f / 132300.0f, 0.02f);  // the gain falls linearly
    EXPECT_EQ(late, 0.0f);

    VsLFO fadeIn;
    fadeIn.setWave(2);
    fadeIn.setSpeed(10.0, 44100.0);
    fadeIn.setDelay(1.0);
    fadeIn.trigger();
    fadeIn.process(out.data(), 200000);
    early = 0;
    for (int i = 0; i < 10000; ++i) early = std::max(early, out[i]);
    EXPECT_LT(early, 0.08f);
    for (int i = 150000; i < 200000; ++i) late = std::max(late, out[i]);
    EXPECT_EQ(late, 1.0f);
}

}  // namespace
