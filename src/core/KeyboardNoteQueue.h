// Notes played on the editor's keyboard, handed from the user-interface thread to the audio
// thread: a single-producer single-consumer ring of 128 entries. The producer never waits (a full
// queue drops the note) and the consumer never waits (it takes what has been published).
#pragma once

#include <atomic>
#include <cstdint>

class KeyboardNoteQueue {
public:
    static constexpr std::uint32_t kCapacity = 128;

    struct Entry {
        std::uint16_t note;      // 0..127
        std::uint16_t velocity;  // 1..127
        std::uint16_t channel;   // 0..15
        std::uint16_t isOn;      // 1 note-on, 0 note-off
    };

    // User-interface thread. The note is clamped to 0..127, the velocity to 1..127 and the channel
    // to 0..15. False when the queue already holds kCapacity entries (the note is dropped).
    bool push(int channel, int note, int velocity, bool isOn);

    // Audio thread. Hands every published entry to sink(entry), oldest first, and empties the
    // queue of them.
    template <typename Sink>
    void drain(Sink&& sink) {
        std::uint32_t head = head_.load(std::memory_order_relaxed);
        const std::uint32_t tail = tail_.load(std::memory_order_acquire);
        for (; head != tail; ++head) sink(entries_[head % kCapacity]);
        head_.store(head, std::memory_order_release);
    }

    // Entries waiting (either thread; a snapshot).
    std::uint32_t size() const {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
    }

private:
    Entry entries_[kCapacity] = {};
    // Running counts of entries written and read; their difference is the fill level. Unsigned
    // wrap-around keeps the difference right, and kCapacity divides 2^32.
    std::atomic<std::uint32_t> tail_{0};
    std::atomic<std::uint32_t> head_{0};
};
