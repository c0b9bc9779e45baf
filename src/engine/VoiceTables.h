// The lookup tables the sample-layer voices share: the decay table behind every envelope and
// LFO time, and the two interpolation tables the voice kernel reads per frame. The plug-in builds
// one set at engine initialisation and hands it to its voices; the tables never change after.
#pragma once

#include <cstdint>

inline constexpr int kInterpolationPhases = 256;  // upper 8 bits of a 16-bit fraction
inline constexpr int kSincTaps = 11;              // taps of the Top layer's interpolator
inline constexpr int kSincRowLength = 16;         // taps padded with zero weights
inline constexpr int kLinearRowLength = 4;        // two weights padded with zero weights
inline constexpr int kDecayEntries = 256;

struct VoiceTables {
    // decay[i] = 0.93^i in single precision, except decay[255] = 0.
    alignas(16) float decay[kDecayEntries];
    // Windowed-sinc weights of the Top layer, 11 taps per phase; taps 11..15 are 0.
    alignas(16) std::int16_t sinc[kInterpolationPhases][kSincRowLength];
    // Linear weights of the Base layer: (1 - f) * 32000, f * 32000, 0, 0 with f = phase / 256.
    alignas(16) std::int16_t linear[kInterpolationPhases][kLinearRowLength];
};

// Fills all three tables. Deterministic: every call gives the same values.
void buildVoiceTables(VoiceTables& tables);
