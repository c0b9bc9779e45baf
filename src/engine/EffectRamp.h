// A value that moves linearly from where it is to its target over one block of frames, so that
// parameter changes never step. Audio thread.
#pragma once

#include <cstdint>

struct EffectRamp {
    float current = 0;
    float step = 0;

    void begin(float target, int32_t frames) {
        step = (target - current) / static_cast<float>(frames);
    }
    // This frame's value; the ramp then moves one frame on.
    float take() {
        float value = current;
        current += step;
        return value;
    }
    // Lands exactly on the target at the end of the block.
    void finish(float target) { current = target; }
};

inline float clamp01(float v) {
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

// Feedback kept below 1 so that no loop can grow (NaN counts as 0).
inline constexpr float kMaxFeedback = 0.999f;
inline float feedbackInRange(float v) {
    return v < kMaxFeedback ? clamp01(v) : kMaxFeedback;
}

// Copies a stereo block from in to out unless they are the same buffers.
inline void passThrough(float* const in[2], float* const out[2], int32_t n) {
    for (int32_t c = 0; c < 2; ++c)
        if (in[c] != out[c])
            for (int32_t i = 0; i < n; ++i) out[c][i] = in[c][i];
}
