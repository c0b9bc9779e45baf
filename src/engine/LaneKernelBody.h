// The lane lattice and the layers' stepping for one vector width, included by the SSE2 and the
// AVX2 kernel file after each defines `Vec` (float lanes) and `IVec` (32-bit integer lanes): their
// register type `T` and the arithmetic used below. Everything here is
// internal to the including file, so that code compiled for AVX2 never stands in for the SSE2
// code at link time.
#pragma once

#include <utility>

#include "engine/LaneKernel.h"
#include "engine/VoiceKernel.h"

namespace {

template <int N>
struct LaneLattice {
    using T = Vec::T;

    static inline const float* row(const float* k, int j) { return k + j * kMaxLanes; }

    // One frame of the lattice, stages N-2 down to 0 unrolled so that g stays in registers.
    template <std::size_t... J>
    static inline T frame(T* g, const float* k, T x, std::index_sequence<J...>) {
        T f = Vec::sub(Vec::mul(x, Vec::load(row(k, N))),
                       Vec::mul(g[N - 1], Vec::load(row(k, N - 1))));
        ((f = Vec::sub(f, Vec::mul(Vec::load(row(k, N - 2 - J)), g[N - 2 - J])),
          g[N - 1 - J] = Vec::add(g[N - 2 - J], Vec::mul(Vec::load(row(k, N - 2 - J)), f))),
         ...);
        g[0] = f;
        return f;
    }

    static void run(LaneState& s, const LaneScratch& scratch, float* mix, int n) {
        T g[N];
        for (int j = 0; j < N; ++j) g[j] = Vec::load(s.g[j]);
        float* k = &s.k[0][0];
        const float* dk = &s.dk[0][0];
        const T gain = Vec::load(s.gain), bias = Vec::load(s.bias);
        const T limit = Vec::set1(kVoiceOutputLimit), negativeLimit = Vec::set1(-kVoiceOutputLimit);
        T left = Vec::load(s.pan[0]), right = Vec::load(s.pan[1]);
        const T leftStep = Vec::load(s.panStep[0]), rightStep = Vec::load(s.panStep[1]);
        T base = Vec::load(s.amplitude[0]), top = Vec::load(s.amplitude[1]);
        const T baseStep = Vec::load(s.amplitudeStep[0]), topStep = Vec::load(s.amplitudeStep[1]);

        for (int i = 0; i < n; ++i) {
            const T x = Vec::add(Vec::add(Vec::mul(Vec::loadInts(scratch.base[i]), base),
                                          Vec::mul(Vec::loadInts(scratch.top[i]), top)),
                                 bias);
            const T f = frame(g, k, x, std::make_index_sequence<N - 1>());
            // max(y, -limit) answers -limit for NaN, as the per-voice kernels do.
            const T y = Vec::min(Vec::max(Vec::mul(f, gain), negativeLimit), limit);
            float* out = mix + i * 2 * kMaxLanes;
            Vec::store(out, Vec::add(Vec::load(out), Vec::mul(y, left)));
            Vec::store(out + kMaxLanes, Vec::add(Vec::load(out + kMaxLanes), Vec::mul(y, right)));
            base = Vec::add(base, baseStep);
            top = Vec::add(top, topStep);
            for (int j = 0; j <= N; ++j)
                Vec::store(k + j * kMaxLanes,
                           Vec::add(Vec::load(row(k, j)), Vec::load(row(dk, j))));
            left = Vec::add(left, leftStep);
            right = Vec::add(right, rightStep);
        }

        for (int j = 0; j < N; ++j) Vec::store(s.g[j], g[j]);
        Vec::store(s.pan[0], left);
        Vec::store(s.pan[1], right);
        Vec::store(s.amplitude[0], base);
        Vec::store(s.amplitude[1], top);
    }
};

template <std::size_t... N>
void runForOrder(LaneState& s, const LaneScratch& scratch, float* mix, int n,
                 std::index_sequence<N...>) {
    // Orders 1..15 select their unrolled lattice; anything else renders nothing.
    (void)((s.order == static_cast<int>(N + 1) ? (LaneLattice<N + 1>::run(s, scratch, mix, n), true)
                                               : false) ||
           ...);
}

// Records every layer's read position and phase for n frames and steps the layers as the
// portable kernel does, IVec::kWidth layers per vector: the layers of `lanes` lanes.
template <int Lanes>
void stepLayers(LaneState& s, LaneScratch& scratch, int n) {
    using T = IVec::T;
    constexpr int kVectors = 2 * Lanes / IVec::kWidth;
    T position[kVectors], fraction[kVectors], mask[kVectors], increment[kVectors];
    T loopEnd[kVectors], loopLength[kVectors];
    for (int v = 0; v < kVectors; ++v) {
        const int at = v * IVec::kWidth;
        position[v] = IVec::load(s.position + at);
        fraction[v] = IVec::load(s.fraction + at);
        mask[v] = IVec::load(s.fractionMask + at);
        increment[v] = IVec::load(s.increment + at);
        loopEnd[v] = IVec::load(s.loopEnd + at);
        loopLength[v] = IVec::load(s.loopLength + at);
    }
    for (int i = 0; i < n; ++i) {
        for (int v = 0; v < kVectors; ++v) {
            const int at = v * IVec::kWidth;
            IVec::store(scratch.position[i] + at, position[v]);
            IVec::store(scratch.phase[i] + at, IVec::shiftRight8(fraction[v]));
            fraction[v] = IVec::add(fraction[v], increment[v]);
            position[v] = IVec::add(position[v], IVec::shiftRightSigned16(fraction[v]));
            fraction[v] = IVec::bitAnd(fraction[v], mask[v]);
            // A wrap at the loop end; a position a short loop leaves beyond it is held there.
            const T inside = IVec::greater(loopEnd[v], position[v]);
            position[v] = IVec::sub(position[v], IVec::andNot(inside, loopLength[v]));
            const T beyond = IVec::greater(position[v], loopEnd[v]);
            position[v] =
                IVec::bitOr(IVec::andNot(beyond, position[v]), IVec::bitAnd(beyond, loopEnd[v]));
        }
    }
    for (int v = 0; v < kVectors; ++v) {
        IVec::store(s.position + v * IVec::kWidth, position[v]);
        IVec::store(s.fraction + v * IVec::kWidth, fraction[v]);
    }
}

inline void runLaneLattice(LaneState& s, const LaneScratch& scratch, float* mix, int n) {
    if (n > 0) runForOrder(s, scratch, mix, n, std::make_index_sequence<kMaxFilterOrder>());
}

}  // namespace
