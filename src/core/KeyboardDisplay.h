// Which keys the editor's keyboard shows as held: one velocity per MIDI note (0 = up), written
// by the voice manager on the audio thread and read by the editor's idle routine. Lock-free: the
// writer stores single atomics and bumps a change count; the reader compares the count with the
// one it saw last and reads the notes again only when it moved.
#pragma once

#include <atomic>
#include <cstdint>

class KeyboardDisplay {
public:
    static constexpr int kNotes = 128;

    // Audio thread. Out-of-range notes are ignored; a velocity below 1 still shows the key held.
    void keyDown(int note, int velocity) {
        if (note < 0 || note >= kNotes) return;
        const int shown = velocity < 1 ? 1 : (velocity > 127 ? 127 : velocity);
        velocity_[note].store(std::uint8_t(shown), std::memory_order_relaxed);
        changes_.fetch_add(1, std::memory_order_release);
    }
    void keyUp(int note) {
        if (note < 0 || note >= kNotes) return;
        velocity_[note].store(0, std::memory_order_relaxed);
        changes_.fetch_add(1, std::memory_order_release);
    }
    void allUp() {
        for (auto& v : velocity_) v.store(0, std::memory_order_relaxed);
        changes_.fetch_add(1, std::memory_order_release);
    }

    // Any thread.
    int velocity(int note) const {
        return note >= 0 && note < kNotes ? velocity_[note].load(std::memory_order_relaxed) : 0;
    }
    std::uint32_t changes() const { return changes_.load(std::memory_order_acquire); }

private:
    std::atomic<std::uint8_t> velocity_[kNotes] = {};
    std::atomic<std::uint32_t> changes_{0};
};
