#include "engine/EngineRandom.h"

#include <atomic>

namespace {
std::atomic<uint32_t> gState{1};

uint32_t advance(uint32_t s) {
    return s * 214013u + 2531011u;
}
}  // namespace

int32_t engineRand() {
    uint32_t old = gState.load(std::memory_order_relaxed);
    while (!gState.compare_exchange_weak(old, advance(old), std::memory_order_relaxed)) {
    }
    return static_cast<int32_t>((advance(old) >> 16) & 0x7FFF);
}

int32_t RandomSequence::next() {
    state = advance(state);
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

void engineRandSeed(uint32_t seed) {
    gState.store(seed, std::memory_order_relaxed);
}
