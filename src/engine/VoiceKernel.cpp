#include "engine/VoiceKernel.h"

#include <emmintrin.h>

#include <cstdint>
#include <utility>

#include "engine/KernelChoice.h"
#include "engine/VoiceTables.h"

namespace {

// A NaN becomes -limit.
inline float limitOutput(float y) {
    y = y > -kVoiceOutputLimit ? y : -kVoiceOutputLimit;
    return y < kVoiceOutputLimit ? y : kVoiceOutputLimit;
}

// ---- Portable -------------------------------------------------------------------------------

inline std::int32_t interpolate(const std::int16_t* samples, const std::int16_t* weights,
                                int taps) {
    std::int32_t sum = 0;
    for (int j = 0; j < taps; ++j) sum += samples[j] * weights[j];
    return sum;
}

// One frame of the lattice with coefficients k[0..order] (k[order] is the input gain).
inline float latticeFrame(float* g, const float* k, int order, float x) {
    float f = x * k[order] - g[order - 1] * k[order - 1];
    for (int j = order - 2; j >= 0; --j) {
        f = f - k[j] * g[j];
        g[j + 1] = g[j] + k[j] * f;
    }
    g[0] = f;
    return f;
}

inline void advanceLayer(VoiceRenderState& s, int lane) {
    s.fraction[lane] += static_cast<std::int32_t>(s.increment[lane]);
    s.position[lane] += s.fraction[lane] >> 16;
    s.fraction[lane] &= s.fractionMask[lane];
    if (s.position[lane] >= s.loopEnd[lane]) s.position[lane] -= s.loopLength[lane];
    if (s.position[lane] > s.loopEnd[lane]) s.position[lane] = s.loopEnd[lane];
}

// ---- SSE2 -----------------------------------------------------------------------------------

// The layers' read positions, fractions and amplitudes for the SSE2 kernel, in registers.
struct Sse2Layers {
    __m128i position, fraction, mask, loopEnd, loopLength, increment;
    __m128 amplitude, amplitudeStep;

    explicit Sse2Layers(const VoiceRenderState& s)
        : position(_mm_load_si128(reinterpret_cast<const __m128i*>(s.position))),
          fraction(_mm_load_si128(reinterpret_cast<const __m128i*>(s.fraction))),
          mask(_mm_load_si128(reinterpret_cast<const __m128i*>(s.fractionMask))),
          loopEnd(_mm_load_si128(reinterpret_cast<const __m128i*>(s.loopEnd))),
          loopLength(_mm_load_si128(reinterpret_cast<const __m128i*>(s.loopLength))),
          increment(_mm_cvtps_epi32(_mm_load_ps(s.increment))),
          amplitude(_mm_load_ps(s.amplitude)),
          amplitudeStep(_mm_load_ps(s.amplitudeStep)) {}

    void store(VoiceRenderState& s) const {
        _mm_store_si128(reinterpret_cast<__m128i*>(s.position), position);
        _mm_store_si128(reinterpret_cast<__m128i*>(s.fraction), fraction);
        _mm_store_ps(s.amplitude, amplitude);
    }

    // Fills x[0..n-1] with the filter input of n frames (both layers interpolated, scaled and
    // summed, plus the bias) and advances the layers by n frames.
    void filterInput(const VoiceRenderState& s, float* x, int n) {
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
            _mm_store_ss(x + i,
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

// The SSE2 kernel for one lattice order. Frames are done in chunks of two passes: the first
// computes the filter input of every frame of the chunk, the second runs the lattice over them.
// The lattice's only long dependency chain runs through its N stages within a frame; a frame's
// stage j waits only for the previous frame's stage j - 1, so with the small second-pass loop
// the processor overlaps consecutive frames instead of waiting for each chain to finish.
template <int N>
struct Sse2Kernel {
    static constexpr int kVectors = (N + 1 + 3) / 4;  // coefficient vectors covering k[0..N]
    static constexpr int kChunk = 64;

    template <std::size_t... J>
    static inline float lattice(float* g, const float* k, float x, std::index_sequence<J...>) {
        float f = x * k[N] - g[N - 1] * k[N - 1];
        // Stages N-2 down to 0, fully unrolled so that g stays in registers.
        ((f = f - k[N - 2 - J] * g[N - 2 - J], g[N - 1 - J] = g[N - 2 - J] + k[N - 2 - J] * f),
         ...);
        g[0] = f;
        return f;
    }

    static void render(VoiceRenderState& s) {
        Sse2Layers layers(s);
        float* left = s.output[0];
        float* right = s.output[1];
        const float gain = s.outputGain;
        float panLeft = s.pan[0], panRight = s.pan[1];
        const float panLeftStep = s.panStep[0], panRightStep = s.panStep[1];

        alignas(16) float k[kVectors * 4];
        __m128 dk[kVectors];
        for (int v = 0; v < kVectors; ++v) {
            _mm_store_ps(k + 4 * v, _mm_load_ps(s.k + 4 * v));
            dk[v] = _mm_load_ps(s.dk + 4 * v);
        }
        float g[N];
        for (int j = 0; j < N; ++j) g[j] = s.g[j];

        alignas(16) float x[kChunk];
        for (int done = 0; done < s.frameCount; done += kChunk) {
            const int n = s.frameCount - done < kChunk ? s.frameCount - done : kChunk;
            layers.filterInput(s, x, n);
            for (int i = 0; i < n; ++i) {
                const float y =
                    limitOutput(lattice(g, k, x[i], std::make_index_sequence<N - 1>()) * gain);
                left[done + i] += y * panLeft;
                right[done + i] += y * panRight;
                for (int v = 0; v < kVectors; ++v)
                    _mm_store_ps(k + 4 * v, _mm_add_ps(_mm_load_ps(k + 4 * v), dk[v]));
                panLeft += panLeftStep;
                panRight += panRightStep;
            }
        }

        layers.store(s);
        s.pan[0] = panLeft;
        s.pan[1] = panRight;
        for (int v = 0; v < kVectors; ++v) _mm_store_ps(s.k + 4 * v, _mm_load_ps(k + 4 * v));
        for (int j = 0; j < N; ++j) s.g[j] = g[j];
    }
};

template <std::size_t... N>
void renderSse2ForOrder(VoiceRenderState& s, std::index_sequence<N...>) {
    // Orders 1..15 select their unrolled kernel; anything else renders nothing.
    (void)((s.order == static_cast<int>(N + 1) ? (Sse2Kernel<N + 1>::render(s), true) : false) ||
           ...);
}

}  // namespace

void renderVoicePortable(VoiceRenderState& s) {
    const int order = s.order;
    if (order < 1 || order > kMaxFilterOrder) return;
    float* left = s.output[0];
    float* right = s.output[1];
    for (int i = 0; i < s.frameCount; ++i) {
        const std::int32_t b =
            interpolate(s.samples[kBaseLane] + s.position[kBaseLane],
                        s.linearTable + (s.fraction[kBaseLane] >> 8) * kLinearRowLength, 2);
        const std::int32_t t =
            interpolate(s.samples[kTopLane] + s.position[kTopLane],
                        s.sincTable + (s.fraction[kTopLane] >> 8) * kSincRowLength, kSincTaps);
        const float x = static_cast<float>(b) * s.amplitude[kBaseLane] +
                        static_cast<float>(t) * s.amplitude[kTopLane] + s.inputBias;

        const float y = limitOutput(latticeFrame(s.g, s.k, order, x) * s.outputGain);
        left[i] += y * s.pan[0];
        right[i] += y * s.pan[1];

        s.amplitude[kBaseLane] += s.amplitudeStep[kBaseLane];
        s.amplitude[kTopLane] += s.amplitudeStep[kTopLane];
        for (int j = 0; j <= order; ++j) s.k[j] += s.dk[j];
        s.pan[0] += s.panStep[0];
        s.pan[1] += s.panStep[1];

        advanceLayer(s, kBaseLane);
        advanceLayer(s, kTopLane);
    }
}

void renderVoiceSse2(VoiceRenderState& s) {
    if (s.frameCount <= 0) return;
    renderSse2ForOrder(s, std::make_index_sequence<kMaxFilterOrder>());
}

void renderVoice(VoiceRenderState& state) {
    if (noMMX() != 0) {
        renderVoicePortable(state);
    } else {
        renderVoiceSse2(state);
    }
}
