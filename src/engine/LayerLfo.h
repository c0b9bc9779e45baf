// The four per-voice LFOs (0 Base, 1 Top, 2 Filter, 3 Pitch). A voice keeps their state and asks
// for a value once per control block (512 frames); the value is already scaled by the depth
// the voice passes in.
#pragma once

#include <cstdint>

#include "engine/EngineRandom.h"

inline constexpr int32_t kLayerLfoCount = 4;
inline constexpr int32_t kPitchLfo = 3;

// Per-voice state. reset() is what a note start does; it seeds the voice's own random sequence
// from the engine's generator.
struct LayerLfoState {
    float phase[kLayerLfoCount] = {};               // 0 up to below 1
    float hold[kLayerLfoCount] = {-1, -1, -1, -1};  // held random value; -1 draws a new one
    float delayFrames[kLayerLfoCount] =
        {};  // frames since the note started (advanced by the voice)
    RandomSequence random;  // the random pitch LFO's held values

    void reset();
    void advanceDelay(int32_t frames);
};

// What an evaluation reads besides the state; the voice fills it (all pointers must be valid).
struct LayerLfoContext {
    const float* params = nullptr;              // the 108 parameter values of the edit preset
    const float* decayTable = nullptr;          // 256 entries, entry i = 0.93^i
    const float* const* layerTables = nullptr;  // Base, Top and Filter tables of 4096 floats
    double samplePeriod = 1.0 / 44100.0;        // 1 / engine rate
    float rateFactor = static_cast<float>(16800.0 / 44100.0);  // samplePeriod x 16800
    double hostTempo = 0;                                      // beats per minute, 0 when unknown
};

// LFO k's contribution, scaled by `input`; advances its phase by one control block.
float lfoValue(const LayerLfoContext& context, LayerLfoState& state, int32_t k, float input);
