// The lattice half of several voices' frames run side by side, one voice per float lane: the
// all-pole lattice, the output gain and limit, the coefficient and pan ramps and the stereo mix.
//
// The recursion of one voice is a chain of dependent multiply-adds through its stages, so a
// single voice leaves most of the processor idle; voices are independent, so a group of them
// shares each instruction. A voice of a lower order than its group's runs in the group's order
// with zero coefficients above its own: those stages pass the signal through unchanged, so every
// lane computes exactly what the per-voice kernel computes for its voice.
//
// A lane with every value 0 renders silence and stays at 0, so unused lanes need no mask.
#pragma once

#include <cstdint>

#include "engine/VoiceRenderState.h"

inline constexpr int kMaxLanes = 8;

// One group's lattice state, each quantity a row of kMaxLanes lanes. Row order of k and dk:
// the stage coefficients 0..order-1, then the input gain at row `order`.
struct alignas(32) LaneState {
    float g[kMaxFilterOrder][kMaxLanes];
    float k[kMaxFilterOrder + 1][kMaxLanes];
    float dk[kMaxFilterOrder + 1][kMaxLanes];
    float gain[kMaxLanes];
    float pan[2][kMaxLanes];  // left, right
    float panStep[2][kMaxLanes];
    std::int32_t order;  // 1..kMaxFilterOrder
};

// Runs n frames: x holds n rows of kMaxLanes filter inputs, mix n rows of 2 x kMaxLanes sums
// (left lanes, then right lanes) into which each lane adds its output. The SSE2 version runs
// lanes 0..3, the AVX2 version lanes 0..7; the AVX2 one may only be called where the processor
// has AVX2.
using LaneLatticeFunction = void (*)(LaneState& state, const float* x, float* mix, int n);
void laneLatticeSse2(LaneState& state, const float* x, float* mix, int n);
void laneLatticeAvx2(LaneState& state, const float* x, float* mix, int n);

// Moves one voice's lattice, gain and pan between its render state and lane `lane` of a group
// (the voice's order must not exceed the group's); clearLane makes a lane silent.
void gatherLane(LaneState& group, int lane, const VoiceRenderState& voice);
void scatterLane(const LaneState& group, int lane, VoiceRenderState& voice);
void clearLane(LaneState& group, int lane);
