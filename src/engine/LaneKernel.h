// The voice kernel for several voices side by side, one voice per float lane of a group: each
// voice's two layers are read through their interpolation tables, and the filter input, the
// all-pole lattice, the output gain and limit, the amplitude, coefficient and pan ramps and the
// stereo mix run for the whole group at once.
//
// The recursion of one voice is a chain of dependent multiply-adds through its stages, so a
// single voice leaves most of the processor idle; voices are independent, so a group of them
// shares each instruction. The read positions of all layers of the group also step together.
// Only the table reads, which go to each voice's own samples, run voice by voice.
//
// Every lane computes exactly what the portable kernel computes for its voice (it truncates the
// phase increment as that kernel does). A voice of a lower order than its group's runs in the
// group's order with zero coefficients above its own: those stages pass the signal through
// unchanged. A lane with every value 0 renders silence and stays at 0, so unused lanes need no
// mask.
#pragma once

#include <cstdint>

#include "engine/VoiceRenderState.h"

inline constexpr int kMaxLanes = 8;
inline constexpr int kLaneChunk = 64;  // frames read from the layers before the lattice runs

// One group's state, each quantity a row of kMaxLanes lanes. Row order of k and dk: the stage
// coefficients 0..order-1, then the input gain at row `order`. The layers' reading state holds
// Base and Top of lane l at 2l and 2l + 1.
struct alignas(32) LaneState {
    float g[kMaxFilterOrder][kMaxLanes];
    float k[kMaxFilterOrder + 1][kMaxLanes];
    float dk[kMaxFilterOrder + 1][kMaxLanes];
    float gain[kMaxLanes];
    float pan[2][kMaxLanes];  // left, right
    float panStep[2][kMaxLanes];
    float amplitude[2][kMaxLanes];  // Base, Top
    float amplitudeStep[2][kMaxLanes];
    float bias[kMaxLanes];

    std::int32_t position[2 * kMaxLanes];
    std::int32_t fraction[2 * kMaxLanes];
    std::int32_t fractionMask[2 * kMaxLanes];
    std::int32_t increment[2 * kMaxLanes];  // truncated, as the portable kernel steps
    std::int32_t loopEnd[2 * kMaxLanes];
    std::int32_t loopLength[2 * kMaxLanes];
    const std::int16_t* samples[2 * kMaxLanes];
    const std::int16_t* linearTable;
    const std::int16_t* sincTable;
    std::int32_t order;  // 1..kMaxFilterOrder
};

// Where a chunk's layer readings wait for the lattice: read positions and phases of every layer
// per frame, then the interpolated Base and Top sums of every lane.
struct alignas(32) LaneScratch {
    std::int32_t position[kLaneChunk][2 * kMaxLanes];
    std::int32_t phase[kLaneChunk][2 * kMaxLanes];
    std::int32_t base[kLaneChunk][kMaxLanes];
    std::int32_t top[kLaneChunk][kMaxLanes];
};

// Renders n (at most kLaneChunk) frames of a group `width` lanes wide (4: SSE2, 8: AVX2, only
// where the processor has it). The lanes whose bit is set in `reading` read their layers; the
// others are silent. Each lane adds its output into its column of mix: n rows of
// 2 x kMaxLanes sums, left lanes then right lanes.
void renderLanes(LaneState& group, LaneScratch& scratch, int width, unsigned reading, float* mix,
                 int n);

// Moves one voice between its render state and lane `lane` of a group (the voice's order must
// not exceed the group's); clearLane makes a lane silent.
void gatherLane(LaneState& group, int lane, const VoiceRenderState& voice);
void scatterLane(const LaneState& group, int lane, VoiceRenderState& voice);
void clearLane(LaneState& group, int lane);

// The parts of renderLanes for each width, internal to the kernels: stepping the layers'
// positions (recorded in scratch) and the lattice from the layer sums in scratch.
void laneStepSse2(LaneState& group, LaneScratch& scratch, int n);
void laneStepAvx2(LaneState& group, LaneScratch& scratch, int n);
void laneLatticeSse2(LaneState& group, const LaneScratch& scratch, float* mix, int n);
void laneLatticeAvx2(LaneState& group, const LaneScratch& scratch, float* mix, int n);
