#include "core/KeyboardNoteQueue.h"

#include <gtest/gtest.h>

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
    KeyboardNoteQueue queue;
    EXPECT_TRUE(queue.push(0, 60, 0, true));      // velocity 0 becomes 1
    EXPECT_TRUE(queue.push(3, 200, 300, false));  // note and velocity capped at 127
    EXPECT_TRUE(queue.push(-2, -5, -9, true));    // everything floored
    EXPECT_TRUE(queue.push(99, 1, 1, true));      // channel capped at 15
    auto taken = drainAll(queue);
    ASSERT_EQ(taken.size(), 4u);
    EXPECT_EQ(taken[0].note, 60);
    EXPECT_EQ(taken[0].velocity, 1);
    EXPECT_EQ(taken[0].isOn, 1);
    EXPECT_EQ(taken[1].note, 127);
    EXPECT_EQ(taken[1].velocity, 127);
    EXPECT_EQ(taken[1].channel, 3);
    EXPECT_EQ(taken[1].isOn, 0);
    EXPECT_EQ(taken[2].note, 0);
    EXPECT_EQ(taken[2].velocity, 1);
    EXPECT_EQ(taken[2].channel, 0);
    EXPECT_EQ(taken[3].channel, 15);
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
