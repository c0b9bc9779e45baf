// Parameter values and LFO tables are plain floats that one thread writes while another reads
// them. Each access is a single relaxed atomic load or store: never torn, and race-free for the
// memory model (and ThreadSanitizer), at the cost of a plain move on x86.
#pragma once

#include <atomic>

inline float loadRelaxed(const float& value) {
    return std::atomic_ref<float>(const_cast<float&>(value)).load(std::memory_order_relaxed);
}

inline void storeRelaxed(float& target, float value) {
    std::atomic_ref<float>(target).store(value, std::memory_order_relaxed);
}
