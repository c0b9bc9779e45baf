// The per-frame work of a sample-layer voice: read the Base layer through the linear table and
// the Top layer through the sinc table, sum them, run the sum through the all-pole lattice,
// add the result into the two output channels, and step every linear ramp by one frame.
//
// Two implementations compute the same values: a portable one written plainly, and an SSE2 one
// that does the interpolation sums with 16-bit multiply-add, keeps the two layers' positions,
// fractions, amplitudes and increments in vector registers, and unrolls the lattice for its
// order. They differ only in the conversion of the phase increment to an integer: the portable
// kernel truncates, the SSE2 kernel rounds to nearest.
//
// Safety the kernels rely on (the voice guarantees it): 1 <= order <= 15; for each layer
// 0 <= position <= loop end, 0 <= loop length <= loop end, increment in 0..2^24, and at least 12
// samples readable from every position up to the loop end. Under those conditions neither kernel
// reads outside the sample data: a position that a wrap leaves beyond the loop end (a loop
// shorter than one frame's step, or of length 0) is held at the loop end.
#pragma once

#include "engine/VoiceRenderState.h"

// A voice's output beyond this magnitude is a fault (an exploding filter from broken data), not
// music; the kernels clamp to it, which also turns NaN into a finite value.
inline constexpr float kVoiceOutputLimit = 1000.0f;

// Renders state.frameCount frames (nothing for 0 or less) with the kernel "NoMMX" selects.
void renderVoice(VoiceRenderState& state);

void renderVoicePortable(VoiceRenderState& state);
void renderVoiceSse2(VoiceRenderState& state);
