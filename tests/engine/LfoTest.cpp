// The LFOs: step patterns and their tables, the per-voice evaluation (speeds, sync, master LFO,
// smoothing, delay fade, pitch shapes), and the free-running VsLFO / LFO oscillators.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/LFO.h"
#include "engine/LayerLfo.h"
#include "engine/LfoShapes.h"
#include "engine/VoiceTables.h"

namespace {

constexpr double kBlock = 512.0 / 44100.0;  // seconds per evaluation at 44100 Hz

TEST(LfoShapes, PatternsAndTheirTables) {
    uint8_t steps[16];
    bool varied = false;
    for (int round = 0; round < 4; ++round) {
        lfoStepsFromShape(kShapeRand, steps);
        for (int i = 0; i < 16; ++i) {
            EXPECT_LE(steps[i], 15);
            varied |= steps[i] != steps[0];
        }
    }
    EXPECT_TRUE(varied);

    // A drawn pattern glides from step to step and back to step 0; levels above 15 count as 15.
    const uint8_t drawn[16] = {0, 15, 15, 0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 40};
    std::vector<float> t(kLayerTableSize), again(kLayerTableSize);
    buildLayerTable(kShapePattern, t.data(), drawn);
    EXPECT_FLOAT_EQ(t[0], -0.5f);
    EXPECT_FLOAT_EQ(t[255], 0.5f);
    EXPECT_FLOAT_EQ(t[15 * 256], 0.5f);
    EXPECT_FLOAT_EQ(t[4095], -0.5f);
    buildLayerTable(kShapeRand, again.data(), drawn);  // "Rand" expands the stored steps
    EXPECT_EQ(t, again);
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
    // Cycles per second of LFO k.
    double frequency(int k) {
        state.phase[k] = 0.0f;
        lfoValue(context, state, k, 1.0f);
        return state.phase[k] / kBlock;
    }

    VoiceTables tables;
    std::vector<float> ramp = std::vector<float>(kLayerTableSize);
    std::vector<float> constant = std::vector<float>(kLayerTableSize);
    const float* layerTables[3];
    float params[108] = {};
    LayerLfoContext context;
    LayerLfoState state;
};

TEST_F(LayerLfoTest, SpeedsFreeAndSynchronised) {
    const double base = 0.0005 * 44100.0 / 16800.0 / kBlock;  // 0.113 Hz: Base at speed 0
    const struct {
        int lfo;
        float speed;
        double tempo;  // 0: free
        double hertz;
    } cases[] = {
        {0, 0.0f, 0, base},
        {0, 0.5f, 0, base / std::pow(0.93, 35)},        // 1.4 Hz
        {3, 0.5f, 0, 4.6 * base / std::pow(0.93, 35)},  // the pitch LFO runs 4.6 times faster
        {0, 0.5f, 120, 3.0},                            // "1/4T": 2/3 beat
        {0, 0.0f, 120, 0.25},                           // 8 beats per cycle
        {0, 1.0f, 120, 2.0 / 0.1875},                   // "1/32D"
        {0, 0.0f, 5000, 1000.0 / 60.0 / 8.0},           // tempo limited to 1000
    };
    for (const auto& c : cases) {
        const int p = 32 + 5 * c.lfo;
        params[p] = c.speed;
        params[p + 4] = c.tempo > 0 ? 1.0f : 0.0f;
        context.hostTempo = c.tempo;
        EXPECT_NEAR(frequency(c.lfo), c.hertz, c.hertz * 0.005) << c.lfo << " " << c.speed;
    }
}

TEST_F(LayerLfoTest, SmoothingSetsTheStepsPerCycle) {
    for (auto [smooth, steps] : {std::pair{0.0f, 16u}, {1.0f, 144u}}) {
        params[72] = smooth;
        std::set<float> values;  // speed 0: about 760 evaluations per cycle
        for (int i = 0; i < 1000; ++i) values.insert(lfoValue(context, state, 0, 1.0f));
        EXPECT_EQ(values.size(), steps) << smooth;
    }
}

TEST_F(LayerLfoTest, BypassAmountAndMasterLfo) {
    EXPECT_FLOAT_EQ(lfoValue(context, state, 1, 2.0f), 0.5f);  // own table, scaled by the input
    params[39] = 0.0f;                                         // Top amount 0
    EXPECT_EQ(lfoValue(context, state, 1, 1.0f), 0.0f);
    params[75] = 0.4f;  // all layers follow the Base LFO: its amount and its table
    state.phase[1] = 0.75f;
    state.phase[0] = 0.0f;
    EXPECT_NEAR(lfoValue(context, state, 1, 1.0f), ramp[3072], 0.01f);
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
    params[47] = 0.0f;  // slowest: the phase moves on by 0.006
    for (auto [form, value] : {std::pair{0.0f, 0.0f},
                               {0.22f, -0.25f},
                               {0.44f, 0.25f},
                               {0.67f, 0.5f}}) {  // at phase 0.25: square, up, down, sine
        params[50] = form;
        state.phase[3] = 0.25f;
        EXPECT_NEAR(lfoValue(context, state, 3, 1.0f), value, 0.01f) << form;
    }
    params[50] = 1.0f;  // a random value in 0..1, held for a cycle
    state.phase[3] = 0.1f;
    const float held = lfoValue(context, state, 3, 1.0f);
    EXPECT_TRUE(held >= 0.0f && held < 1.0f);
    EXPECT_EQ(lfoValue(context, state, 3, 1.0f), held);
    std::set<float> seen;
    params[47] = 1.0f;
    for (int cycle = 0; cycle < 5; ++cycle) {
        state.phase[3] = 0.9999f;
        seen.insert(lfoValue(context, state, 3, 1.0f));
    }
    EXPECT_GE(seen.size(), 4u);  // a new value after each wrap
}

TEST(VsLFO, WavesLieBetweenZeroAndOne) {
    VsLFO::buildWaves();
    for (int w = 0; w < VsLFO::kWaveCount; ++w) {
        const float* t = VsLFO::waveTable(w);
        EXPECT_GE(*std::min_element(t, t + VsLFO::kTableSize), -1e-6f) << w;
        EXPECT_LE(*std::max_element(t, t + VsLFO::kTableSize), 1.0f + 1e-6f) << w;
    }
}

// Renders `seconds` of the square wave (wave 2) at 44100 Hz.
std::vector<float> square(VsLFO& lfo, double seconds) {
    lfo.setWave(2);
    std::vector<float> out(static_cast<size_t>(seconds * 44100));
    lfo.process(out.data(), static_cast<int32_t>(out.size()));
    return out;
}
float highest(const std::vector<float>& x, size_t from, size_t to) {
    return *std::max_element(x.begin() + static_cast<long>(from),
                             x.begin() + static_cast<long>(to));
}

TEST(VsLFO, SpeedsFreeAndSynchronised) {
    auto cycles = [](VsLFO& lfo, double seconds) {
        const std::vector<float> out = square(lfo, seconds);
        int rises = 0;
        for (size_t i = 1; i < out.size(); ++i) rises += out[i] > out[i - 1];
        return rises;
    };
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
    noteValue.setSpeed(1.0, 0.0);      // "1/32D"
    noteValue.setSampleRate(22050.0);  // the speed in cycles per second survives a rate change
    EXPECT_NEAR(noteValue.phaseIncrement(), 4096.0 / 22050.0 * 2.0 / 0.1875, 1e-9);
}

// Delay 0.5 never fades; 0 fades out linearly over 3 s (132300 samples) and stays silent; 1
// fades in over 3 s.
TEST(VsLFO, DelayFades) {
    const struct {
        double delay;
        float early, late;  // highest value in 60000..70000 and from 150000 on
    } cases[] = {{0.5, 1.0f, 1.0f},
                 {0.0, 1.0f - 60000.0f / 132300.0f, 0.0f},
                 {1.0, 70000.0f / 132300.0f, 1.0f}};
    for (const auto& c : cases) {
        VsLFO lfo;
        lfo.setSpeed(10.0, 44100.0);
        lfo.setDelay(c.delay);
        lfo.trigger();
        const std::vector<float> out = square(lfo, 200000 / 44100.0);
        EXPECT_NEAR(highest(out, 60000, 70000), c.early, 0.02f) << c.delay;
        EXPECT_EQ(highest(out, 150000, out.size()), c.late) << c.delay;
    }
}

}  // namespace
