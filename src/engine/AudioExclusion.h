// Keeps the audio thread out of a unit while another thread replaces what it works on (buffers).
//
// The audio thread never waits: enter() answers false while a reconfiguration is under way, and
// the caller then passes its block through unchanged. The reconfiguring thread announces itself,
// then waits until the audio thread is outside (at most one block), works, and lets it back in.
// Both sides announce with a sequentially consistent store and then look at the other side's
// flag, so at least one of them sees the other: they are never inside together. Two
// reconfiguring threads take turns.
#pragma once

#include <atomic>
#include <thread>

class AudioExclusion {
public:
    // Audio thread: true when the unit may be used; then call leave() when done.
    bool enter() {
        inside_.store(true, std::memory_order_seq_cst);
        if (!excluded_.load(std::memory_order_seq_cst)) return true;
        inside_.store(false, std::memory_order_release);
        return false;
    }
    void leave() { inside_.store(false, std::memory_order_release); }

    // Any thread but the audio thread: waits until the audio thread is out and stays out.
    void lockOut() {
        while (writer_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
        excluded_.store(true, std::memory_order_seq_cst);
        while (inside_.load(std::memory_order_seq_cst)) std::this_thread::yield();
    }
    void letIn() {
        excluded_.store(false, std::memory_order_release);
        writer_.clear(std::memory_order_release);
    }

private:
    std::atomic<bool> inside_{false};
    std::atomic<bool> excluded_{false};
    std::atomic_flag writer_ = ATOMIC_FLAG_INIT;
};
