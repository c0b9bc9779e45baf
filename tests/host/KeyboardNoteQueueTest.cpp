#include "core/KeyboardNoteQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

std::vector<KeyboardNoteQueue::Entry> drainAll(KeyboardNoteQueue& queue) {
    std::vector<KeyboardNoteQueue::Entry> taken;
    queue.drain([&](const KeyboardNoteQueue::Entry& e) { taken.push_back(e); });
    return taken;
}

TEST(KeyboardNoteQueue, ValuesAreClampedIntoMidiRanges) {
    const struct {
        int channel, note, velocity;
        bool isOn;
        int expected[4];  // note, velocity, channel, is on
    } cases[] = {
        {0, 60, 0, true, {60, 1, 0, 1}},         // velocity 0 becomes 1
        {3, 200, 300, false, {127, 127, 3, 0}},  // note and velocity capped at 127
        {-2, -5, -9, true, {0, 1, 0, 1}},        // everything floored
        {99, 1, 1, true, {1, 1, 15, 1}},         // channel capped at 15
    };
    KeyboardNoteQueue queue;
    for (const auto& c : cases) EXPECT_TRUE(queue.push(c.channel, c.note, c.velocity, c.isOn));
    const auto taken = drainAll(queue);
    ASSERT_EQ(taken.size(), 4u);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const int got[4] = {taken[i].note, taken[i].velocity, taken[i].channel, taken[i].isOn};
        EXPECT_TRUE(std::equal(got, got + 4, cases[i].expected)) << i;
    }
}

TEST(KeyboardNoteQueue, TheEntryAfterCapacityIsDroppedUntilDrained) {
    KeyboardNoteQueue queue;
    for (int i = 0; i < 128; ++i) EXPECT_TRUE(queue.push(0, i, 100, true));
    EXPECT_FALSE(queue.push(0, 5, 100, true));
    EXPECT_EQ(queue.size(), 128u);
    auto taken = drainAll(queue);
    ASSERT_EQ(taken.size(), 128u);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(taken[i].note, i);  // oldest first
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_TRUE(drainAll(queue).empty());
    EXPECT_TRUE(queue.push(0, 1, 1, true));
}

// One producer and one consumer at full speed: every accepted note arrives once, in order.
TEST(KeyboardNoteQueue, ProducerAndConsumerThreads) {
    KeyboardNoteQueue queue;
    constexpr int kNotes = 200000;
    std::vector<int> accepted;
    accepted.reserve(kNotes);
    std::atomic<bool> done{false};
    std::thread producer([&] {
        for (int i = 0; i < kNotes; ++i)
            if (queue.push(i % 16, i % 128, 1 + i % 127, (i & 1) != 0)) accepted.push_back(i);
        done.store(true);
    });
    std::vector<KeyboardNoteQueue::Entry> received;
    received.reserve(kNotes);
    auto take = [&](const KeyboardNoteQueue::Entry& e) { received.push_back(e); };
    while (!done.load()) {
        queue.drain(take);
        std::this_thread::yield();
    }
    producer.join();
    queue.drain(take);
    ASSERT_EQ(received.size(), accepted.size());
    for (std::size_t k = 0; k < received.size(); ++k) {
        const int i = accepted[k];
        ASSERT_EQ(received[k].note, i % 128);
        ASSERT_EQ(received[k].channel, i % 16);
        ASSERT_EQ(received[k].velocity, 1 + i % 127);
        ASSERT_EQ(received[k].isOn, i & 1);
    }
}

}  // namespace
