// The lane kernel's SSE2 half: the lattice four voices per register, the layers' reading for
// groups of either width, and the moves between a voice's render state and its lane.
#include <emmintrin.h>

#include "engine/LaneKernel.h"
#include "engine/VoiceTables.h"

namespace {
struct Vec {
    using T = __m128;
    static T load(const float* p) { return _mm_load_ps(p); }
    static T loadInts(const std::int32_t* p) {
        return _mm_cvtepi32_ps(_mm_load_si128(reinterpret_cast<const __m128i*>(p)));
    }
    static void store(float* p, T v) { _mm_store_ps(p, v); }
    static T set1(float v) { return _mm_set1_ps(v); }
    static T add(T a, T b) { return _mm_add_ps(a, b); }
    static T sub(T a, T b) { return _mm_sub_ps(a, b); }
    static T mul(T a, T b) { return _mm_mul_ps(a, b); }
    static T min(T a, T b) { return _mm_min_ps(a, b); }
    static T max(T a, T b) { return _mm_max_ps(a, b); }
};
struct IVec {
    using T = __m128i;
    static constexpr int kWidth = 4;
    static T load(const std::int32_t* p) { return _mm_load_si128(reinterpret_cast<const T*>(p)); }
    static void store(std::int32_t* p, T v) { _mm_store_si128(reinterpret_cast<T*>(p), v); }
    static T add(T a, T b) { return _mm_add_epi32(a, b); }
    static T sub(T a, T b) { return _mm_sub_epi32(a, b); }
    static T shiftRight8(T a) { return _mm_srli_epi32(a, 8); }
    static T shiftRightSigned16(T a) { return _mm_srai_epi32(a, 16); }
    static T bitAnd(T a, T b) { return _mm_and_si128(a, b); }
    static T bitOr(T a, T b) { return _mm_or_si128(a, b); }
    static T andNot(T a, T b) { return _mm_andnot_si128(a, b); }
    static T greater(T a, T b) { return _mm_cmpgt_epi32(a, b); }
};
}  // namespace

#include "engine/LaneKernelBody.h"

namespace {

// One lane's Base and Top sums for n frames, from the recorded positions and phases.
void readLayers(const LaneState& s, LaneScratch& scratch, int lane, int n) {
    const std::int16_t* baseData = s.samples[2 * lane];
    const std::int16_t* topData = s.samples[2 * lane + 1];
    for (int i = 0; i < n; ++i) {
        const std::int32_t* position = scratch.position[i] + 2 * lane;
        const std::int32_t* phase = scratch.phase[i] + 2 * lane;
        // Base: 2 samples by 2 weights in lane 0 (the next two weights are 0).
        const __m128i baseSum = _mm_madd_epi16(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(baseData + position[0])),
            _mm_loadl_epi64(
                reinterpret_cast<const __m128i*>(s.linearTable + phase[0] * kLinearRowLength)));
        // Top: 12 samples by 12 weights (the twelfth weight is 0), summed across the lanes.
        const std::int16_t* topSamples = topData + position[1];
        const std::int16_t* topWeights = s.sincTable + phase[1] * kSincRowLength;
        __m128i topSum = _mm_add_epi32(
            _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(topSamples)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(topWeights))),
            _mm_madd_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(topSamples + 8)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(topWeights + 8))));
        topSum = _mm_add_epi32(topSum, _mm_shuffle_epi32(topSum, _MM_SHUFFLE(1, 0, 3, 2)));
        topSum = _mm_add_epi32(topSum, _mm_shuffle_epi32(topSum, _MM_SHUFFLE(2, 3, 0, 1)));
        scratch.base[i][lane] = _mm_cvtsi128_si32(baseSum);
        scratch.top[i][lane] = _mm_cvtsi128_si32(topSum);
    }
}

}  // namespace

void laneLatticeSse2(LaneState& group, const LaneScratch& scratch, float* mix, int n) {
    runLaneLattice(group, scratch, mix, n);
}

void laneStepSse2(LaneState& group, LaneScratch& scratch, int n) {
    stepLayers<4>(group, scratch, n);
}

void renderLanes(LaneState& group, LaneScratch& scratch, int width, unsigned reading, float* mix,
                 int n) {
    if (width == 8)
        laneStepAvx2(group, scratch, n);
    else
        laneStepSse2(group, scratch, n);
    for (int lane = 0; lane < width; ++lane) {
        if (reading & (1u << lane)) {
            readLayers(group, scratch, lane, n);
        } else {
            for (int i = 0; i < n; ++i) scratch.base[i][lane] = scratch.top[i][lane] = 0;
        }
    }
    if (width == 8)
        laneLatticeAvx2(group, scratch, mix, n);
    else
        laneLatticeSse2(group, scratch, mix, n);
}

// A voice of order N in a group of order M: stages 0..N-1 in rows 0..N-1, rows N..M-1 zero, the
// input gain in row M.
void gatherLane(LaneState& group, int lane, const VoiceRenderState& voice) {
    const int order = voice.order, top = group.order;
    for (int j = 0; j < top; ++j) {
        const bool own = j < order;
        group.g[j][lane] = own ? voice.g[j] : 0.0f;
        group.k[j][lane] = own ? voice.k[j] : 0.0f;
        group.dk[j][lane] = own ? voice.dk[j] : 0.0f;
    }
    group.k[top][lane] = voice.k[order];
    group.dk[top][lane] = voice.dk[order];
    group.gain[lane] = voice.outputGain;
    group.bias[lane] = voice.inputBias;
    for (int c = 0; c < 2; ++c) {
        group.pan[c][lane] = voice.pan[c];
        group.panStep[c][lane] = voice.panStep[c];
    }
    for (int layer = kBaseLane; layer <= kTopLane; ++layer) {
        const int at = 2 * lane + layer;
        group.amplitude[layer][lane] = voice.amplitude[layer];
        group.amplitudeStep[layer][lane] = voice.amplitudeStep[layer];
        group.position[at] = voice.position[layer];
        group.fraction[at] = voice.fraction[layer];
        group.fractionMask[at] = voice.fractionMask[layer];
        group.increment[at] = static_cast<std::int32_t>(voice.increment[layer]);
        group.loopEnd[at] = voice.loopEnd[layer];
        group.loopLength[at] = voice.loopLength[layer];
        group.samples[at] = voice.samples[layer];
    }
    group.linearTable = voice.linearTable;
    group.sincTable = voice.sincTable;
}

void scatterLane(const LaneState& group, int lane, VoiceRenderState& voice) {
    const int order = voice.order, top = group.order;
    for (int j = 0; j < order; ++j) {
        voice.g[j] = group.g[j][lane];
        voice.k[j] = group.k[j][lane];
        voice.dk[j] = group.dk[j][lane];
    }
    voice.k[order] = group.k[top][lane];
    voice.dk[order] = group.dk[top][lane];
    for (int c = 0; c < 2; ++c) voice.pan[c] = group.pan[c][lane];
    for (int layer = kBaseLane; layer <= kTopLane; ++layer) {
        voice.amplitude[layer] = group.amplitude[layer][lane];
        voice.position[layer] = group.position[2 * lane + layer];
        voice.fraction[layer] = group.fraction[2 * lane + layer];
    }
}

void clearLane(LaneState& group, int lane) {
    for (int j = 0; j <= kMaxFilterOrder; ++j) {
        if (j < kMaxFilterOrder) group.g[j][lane] = 0.0f;
        group.k[j][lane] = group.dk[j][lane] = 0.0f;
    }
    group.gain[lane] = group.bias[lane] = 0.0f;
    for (int c = 0; c < 2; ++c) {
        group.pan[c][lane] = group.panStep[c][lane] = 0.0f;
        group.amplitude[c][lane] = group.amplitudeStep[c][lane] = 0.0f;
        const int at = 2 * lane + c;
        group.position[at] = group.fraction[at] = group.fractionMask[at] = 0;
        group.increment[at] = group.loopEnd[at] = group.loopLength[at] = 0;
        group.samples[at] = nullptr;
    }
}
