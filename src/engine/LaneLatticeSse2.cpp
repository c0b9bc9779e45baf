// The lane lattice in SSE2, four voices per register, and the moves between a voice's render
// state and its lane.
#include <emmintrin.h>

#include "engine/LaneLattice.h"

namespace {
struct Vec {
    using T = __m128;
    static T load(const float* p) { return _mm_load_ps(p); }
    static void store(float* p, T v) { _mm_store_ps(p, v); }
    static T set1(float v) { return _mm_set1_ps(v); }
    static T add(T a, T b) { return _mm_add_ps(a, b); }
    static T sub(T a, T b) { return _mm_sub_ps(a, b); }
    static T mul(T a, T b) { return _mm_mul_ps(a, b); }
    static T min(T a, T b) { return _mm_min_ps(a, b); }
    static T max(T a, T b) { return _mm_max_ps(a, b); }
};
}  // namespace

#include "engine/LaneLatticeBody.h"

void laneLatticeSse2(LaneState& state, const float* x, float* mix, int n) {
    runLaneLattice(state, x, mix, n);
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
    for (int c = 0; c < 2; ++c) {
        group.pan[c][lane] = voice.pan[c];
        group.panStep[c][lane] = voice.panStep[c];
    }
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
}

void clearLane(LaneState& group, int lane) {
    for (int j = 0; j <= kMaxFilterOrder; ++j) {
        if (j < kMaxFilterOrder) group.g[j][lane] = 0.0f;
        group.k[j][lane] = group.dk[j][lane] = 0.0f;
    }
    group.gain[lane] = 0.0f;
    for (int c = 0; c < 2; ++c) group.pan[c][lane] = group.panStep[c][lane] = 0.0f;
}
