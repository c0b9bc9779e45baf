#include "engine/LayerLfo.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineRandom.h"
#include "engine/FastMath.h"
#include "engine/LfoShapes.h"
#include "engine/RelaxedFloat.h"
#include "engine/TempoNoteValues.h"

namespace {

// Parameter numbers: five per LFO (Speed, Delay, Amount, Form, Sync) from 32.
constexpr int32_t kFirstLfoParam = 32;
constexpr int32_t kParamsPerLfo = 5;
constexpr int32_t kSmoothBase = 72;
constexpr int32_t kMasterLfo = 75;
constexpr int32_t kLfoBypass = 92;

// A parameter value kept in 0..1 whatever was stored (a hostile chunk may hold anything).
float param(const LayerLfoContext& c, int32_t index) {
    float v = loadRelaxed(c.params[index]);
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

// Decay table entry at value x scale, rounded (ties to even) and wrapped to 0..127.
float decayAt(const LayerLfoContext& c, float value, float scale) {
    return c.decayTable[roundToEven(value * scale) & 127];
}

double phaseIncrement(const LayerLfoContext& c, int32_t e, float speed, bool sync) {
    if (sync) {
        double tempo = std::clamp(c.hostTempo, 0.0, 1000.0);
        double beats = lfoNoteValue(speed).beats;
        return tempo / (beats * 60.0) * c.samplePeriod * 512.0;
    }
    double scale = e == kPitchLfo ? 0.0023 : 0.0005;
    double p = c.samplePeriod * 44100.0;
    return scale * p * p / (decayAt(c, speed, 70.0f) * c.rateFactor);
}

float pitchShape(LayerLfoState& state, int32_t k, int32_t form) {
    float phase = state.phase[k];
    switch (form) {
        case 0:
            return phase > 0.5f ? 1.0f : 0.0f;
        case 1:
            return phase - 0.5f;
        case 2:
            return 0.5f - phase;
        case 3:
            return 0.5f * std::sin(6.2831855f * phase);
        default:
            if (state.hold[k] < 0.0f)
                state.hold[k] = static_cast<float>(state.random.next()) / 33000.0f;
            return state.hold[k];
    }
}

}  // namespace

void LayerLfoState::reset() {
    random.state = static_cast<uint32_t>(engineRand());
    for (int32_t k = 0; k < kLayerLfoCount; ++k) {
        phase[k] = 0.0f;
        hold[k] = -1.0f;
        delayFrames[k] = 0.0f;
    }
}

void LayerLfoState::advanceDelay(int32_t frames) {
    for (float& d : delayFrames) d += static_cast<float>(frames);
}

float lfoValue(const LayerLfoContext& c, LayerLfoState& state, int32_t k, float input) {
    if (k < 0 || k >= kLayerLfoCount) return 0.0f;
    bool layer = k < kPitchLfo;
    if (layer && loadRelaxed(c.params[kLfoBypass]) != 0.0f) return 0.0f;

    int32_t e = k;
    if (layer) {
        int32_t m = static_cast<int32_t>(param(c, kMasterLfo) * 3.0f);
        if (m >= 1 && m <= 3) e = m - 1;
    }
    int32_t p = kFirstLfoParam + kParamsPerLfo * e;
    float amount = param(c, p + 2);
    if (amount == 0.0f) return 0.0f;

    double phase = state.phase[k] + phaseIncrement(c, e, param(c, p), param(c, p + 4) > 0.5f);
    if (phase >= 1.0) {
        phase -= std::floor(phase);
        state.hold[k] = -1.0f;
    }
    state.phase[k] = static_cast<float>(phase);
    if (state.phase[k] >= 1.0f) state.phase[k] = 0.0f;  // a value just below 1 rounded up

    float fade = state.delayFrames[k] * decayAt(c, param(c, p + 1), 100.0f) * c.rateFactor / 128.0f;
    float depth = input * std::min(fade, 1.0f) * amount;

    if (layer) {
        float smooth = param(c, kSmoothBase + k);
        int32_t steps = static_cast<int32_t>(128.0f * smooth * smooth + 16.0f);
        float step = std::floor(state.phase[k] * static_cast<float>(steps));
        int32_t index = roundToEven(step * kLayerTableSize / steps);
        index = std::clamp(index, 0, kLayerTableSize - 1);
        return loadRelaxed(c.layerTables[e][index]) * depth;
    }
    int32_t form = roundToEven(param(c, p + 3) * 4.5f);
    return pitchShape(state, k, form) * depth;
}
