// The interpolation half of a voice's frame in SSE2: both sample layers read through their
// tables with 16-bit multiply-add, scaled by their amplitudes and summed into the lattice's input,
// with the layers' positions, fractions and amplitudes held in vector registers (lane 0 Base,
// lane 1 Top).
//
// Included by the kernel files compiled for SSE2 only; everything here is internal to each of them.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "engine/VoiceRenderState.h"
#include "engine/VoiceTables.h"

namespace {

// How the phase increment becomes the integer added to the fraction each frame.
enum class IncrementConversion { Round, Truncate };

struct Sse2Layers {
    __m128i position, fraction, mask, loopEnd, loopLength, increment;
    __m128 amplitude, amplitudeStep;

    Sse2Layers(const VoiceRenderState& s, IncrementConversion conversion)
        : position(_mm_load_si128(reinterpret_cast<const __m128i*>(s.position))),
          fraction(_mm_load_si128(reinterpret_cast<const __m128i*>(s.fraction))),
          mask(_mm_load_si128(reinterpret_cast<const __m128i*>(s.fractionMask))),
          loopEnd(_mm_load_si128(reinterpret_cast<const __m128i*>(s.loopEnd))),
          loopLength(_mm_load_si128(reinterpret_cast<const __m128i*>(s.loopLength))),
          increment(conversion == IncrementConversion::Round
                        ? _mm_cvtps_epi32(_mm_load_ps(s.increment))
                        : _mm_cvttps_epi32(_mm_load_ps(s.increment))),
          amplitude(_mm_load_ps(s.amplitude)),
          amplitudeStep(_mm_load_ps(s.amplitudeStep)) {}

    void store(VoiceRenderState& s) const {
        _mm_store_si128(reinterpret_cast<__m128i*>(s.position), position);
        _mm_store_si128(reinterpret_cast<__m128i*>(s.fraction), fraction);
        _mm_store_ps(s.amplitude, amplitude);
    }

    // Writes the filter input of n frames (both layers interpolated, scaled and summed, plus the
    // bias) to x[0], x[stride], ... and advances the layers by n frames.
    void filterInput(const VoiceRenderState& s, float* x, int n, int stride) {
        const std::int16_t* baseData = s.samples[kBaseLane];
        const std::int16_t* topData = s.samples[kTopLane];
        const __m128 bias = _mm_set_ss(s.inputBias);
        for (int i = 0; i < n; ++i) {
            const __m128i phase = _mm_srli_epi32(fraction, 8);
            const int basePosition = _mm_cvtsi128_si32(position);
            const int topPosition = _mm_cvtsi128_si32(_mm_shuffle_epi32(position, 1));
            const int basePhase = _mm_cvtsi128_si32(phase);
            const int topPhase = _mm_cvtsi128_si32(_mm_shuffle_epi32(phase, 1));

            // Base: 4 samples by 4 weights (the last two weights are 0) -> [b01, b23, 0, 0].
            const __m128i baseSum = _mm_madd_epi16(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(baseData + basePosition)),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.linearTable +
                                                                 basePhase * kLinearRowLength)));
            // Top: 12 samples by 12 weights (the twelfth weight is 0) -> [t0, t1, t2, t3].
            const std::int16_t* topSamples = topData + topPosition;
            const std::int16_t* topWeights = s.sincTable + topPhase * kSincRowLength;
            const __m128i topSum = _mm_add_epi32(
                _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(topSamples)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(topWeights))),
                _mm_madd_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(topSamples + 8)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(topWeights + 8))));
            // Horizontal sums into lane 0 (Base) and lane 1 (Top).
            __m128i sums = _mm_add_epi32(_mm_unpacklo_epi32(baseSum, topSum),
                                         _mm_unpackhi_epi32(baseSum, topSum));
            sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
            const __m128 layers = _mm_mul_ps(_mm_cvtepi32_ps(sums), amplitude);
            _mm_store_ss(x + i * stride,
                         _mm_add_ss(_mm_add_ss(layers, _mm_shuffle_ps(layers, layers, 1)), bias));

            amplitude = _mm_add_ps(amplitude, amplitudeStep);
            fraction = _mm_add_epi32(fraction, increment);
            position = _mm_add_epi32(position, _mm_srai_epi32(fraction, 16));
            fraction = _mm_and_si128(fraction, mask);
            const __m128i inside = _mm_cmplt_epi32(position, loopEnd);
            position = _mm_sub_epi32(position, _mm_andnot_si128(inside, loopLength));
            const __m128i beyond = _mm_cmpgt_epi32(position, loopEnd);
            position =
                _mm_or_si128(_mm_andnot_si128(beyond, position), _mm_and_si128(beyond, loopEnd));
        }
    }
};

}  // namespace
