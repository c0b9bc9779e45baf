// Everything the voice kernel reads and writes per frame, owned by one voice.
//
// Layout: plain fixed-size arrays of scalars, one array per quantity, grouped by what the kernel
// touches together. The Base and Top layers are lanes 0 and 1 of the four-lane arrays (lanes 2
// and 3 are copies nobody reads), so the SSE2 kernel loads a quantity of both layers with one
// aligned load. Keeping every quantity in its own array (no pointers or flags interleaved) is what
// lets a later kernel gather the same field of several voices into the lanes of one register.
#pragma once

#include <cstdint>

inline constexpr int kLatticeCapacity = 44;  // room for the coefficient sets and padding
inline constexpr int kMaxFilterOrder = 15;   // a coefficient set holds 16 values: N + 1
inline constexpr int kBaseLane = 0;
inline constexpr int kTopLane = 1;

struct alignas(16) VoiceRenderState {
    // Lattice: state g[0..N-1], coefficients k[0..N] (k[N] is the input gain), per-frame steps.
    alignas(16) float g[kLatticeCapacity];
    alignas(16) float k[kLatticeCapacity];
    alignas(16) float dk[kLatticeCapacity];

    // Per-layer sample reading; lane 0 Base, lane 1 Top.
    alignas(16) std::int32_t position[4];      // sample index
    alignas(16) std::int32_t fraction[4];      // 0..65535, 1/65536 sample
    alignas(16) std::int32_t fractionMask[4];  // 0xFFFF
    alignas(16) std::int32_t loopEnd[4];       // reaching it jumps back by the loop length
    alignas(16) std::int32_t loopLength[4];
    alignas(16) float increment[4];  // 1/65536 sample per output frame
    alignas(16) float amplitude[4];
    alignas(16) float amplitudeStep[4];

    // Stereo gains: lane 0 left, lane 1 right, lanes 2 and 3 zero.
    alignas(16) float pan[4];
    alignas(16) float panStep[4];

    float outputGain = 0.0f;  // scales the 32-bit products back to signal level, inverted
    float inputBias = 1e-4f;  // keeps the recursive filter away from subnormal values
    std::int32_t order = 10;  // N
    std::int32_t frameCount = 0;

    const std::int16_t* samples[2] = {nullptr, nullptr};  // Base, Top
    const std::int16_t* linearTable = nullptr;            // 256 rows of 4 weights (Base)
    const std::int16_t* sincTable = nullptr;              // 256 rows of 16 weights (Top)
    float* output[2] = {nullptr, nullptr};                // left, right; the kernel adds into them
};
