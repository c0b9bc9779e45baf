#include "engine/KernelChoice.h"

#include <atomic>

namespace {
std::atomic<int> gNoMMX{0};
std::atomic<int> gVoiceLanes{4};
}  // namespace

void setNoMMX(int value) {
    gNoMMX.store(value, std::memory_order_relaxed);
}

int noMMX() {
    return gNoMMX.load(std::memory_order_relaxed);
}

void setVoiceLanes(int lanes) {
    gVoiceLanes.store(lanes, std::memory_order_relaxed);
}

int voiceLanes() {
    return gVoiceLanes.load(std::memory_order_relaxed);
}

int supportedVoiceLanes(int requested, bool hasAvx2) {
    const int widest = hasAvx2 ? 8 : 4;
    if (requested == 0 || requested == 4) return requested;
    return widest;
}
