// A process-wide pseudo-random generator with the C library's range (0..32767). Thread-safe
// and lock-free, so the audio thread may call it; it never touches the C library's own state.
#pragma once

#include <cstdint>

inline constexpr int32_t kEngineRandMax = 32767;

int32_t engineRand();
// Restarts the sequence (tests use it for repeatable results).
void engineRandSeed(uint32_t seed);

// A sequence of its own by the same rule, for values that must not depend on the order in which
// their owners draw: a voice's random LFO values, whichever voices render before it.
struct RandomSequence {
    uint32_t state = 1;
    int32_t next();  // 0..kEngineRandMax
};
