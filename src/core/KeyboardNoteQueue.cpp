#include "core/KeyboardNoteQueue.h"

#include <algorithm>

bool KeyboardNoteQueue::push(int channel, int note, int velocity, bool isOn) {
    const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) >= kCapacity) return false;
    entries_[tail % kCapacity] = {static_cast<std::uint16_t>(std::clamp(note, 0, 127)),
                                  static_cast<std::uint16_t>(std::clamp(velocity, 1, 127)),
                                  static_cast<std::uint16_t>(std::clamp(channel, 0, 15)),
                                  static_cast<std::uint16_t>(isOn ? 1 : 0)};
    tail_.store(tail + 1, std::memory_order_release);
    return true;
}
