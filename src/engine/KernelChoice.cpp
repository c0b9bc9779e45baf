#include "engine/KernelChoice.h"

#include <atomic>

namespace {
std::atomic<int> gNoMMX{0};
}

void setNoMMX(int value) {
    gNoMMX.store(value, std::memory_order_relaxed);
}

int noMMX() {
    return gNoMMX.load(std::memory_order_relaxed);
}
