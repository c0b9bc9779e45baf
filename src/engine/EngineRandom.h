// A process-wide pseudo-random generator with the C library's range (0..32767). Thread-safe
// and lock-free, so the audio thread may call it; it never touches the C library's own state.
#pragma once

#include <cstdint>

inline constexpr int32_t kEngineRandMax = 32767;

int32_t engineRand();
// Restarts the sequence (tests use it for repeatable results).
void engineRandSeed(uint32_t seed);
