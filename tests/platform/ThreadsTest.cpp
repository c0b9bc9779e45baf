#include <gtest/gtest.h>

#include <atomic>

#include "platform/Platform.h"

namespace {

struct Waiter {
    platform::Event go;
    std::atomic<int> passes{0};
};

int waitOnce(void* raw) {
    auto* waiter = static_cast<Waiter*>(raw);
    waiter->go.wait();
    waiter->passes.fetch_add(1);
    return 0;
}

TEST(Threads, JoinWaitsForTheThreadsEnd) {
    Waiter waiter;
    platform::Thread thread;
    ASSERT_TRUE(thread.start(waitOnce, &waiter));
    EXPECT_TRUE(thread.running());
    EXPECT_FALSE(thread.start(waitOnce, &waiter));  // one thread per object
    EXPECT_FALSE(thread.join(30));                  // still waiting for its event
    EXPECT_EQ(waiter.passes.load(), 0);
    waiter.go.signal();
    EXPECT_TRUE(thread.join(0xFFFFFFFFu));
    EXPECT_FALSE(thread.running());
    EXPECT_EQ(waiter.passes.load(), 1);
}

TEST(Threads, PrioritiesAreBestEffort) {
    Waiter waiter;
    platform::Thread thread;
    EXPECT_FALSE(thread.setPriority(0));  // no thread yet
    ASSERT_TRUE(thread.start(waitOnce, &waiter));
    EXPECT_TRUE(thread.setPriority(0));  // lowering is always allowed
    EXPECT_FALSE(thread.setPriority(4));
    EXPECT_FALSE(thread.setPriority(-1));
    waiter.go.signal();  // the lowered thread still runs
    EXPECT_TRUE(thread.join(10000));
    EXPECT_EQ(waiter.passes.load(), 1);
}

TEST(Threads, EventKeepsOneSignalUntilTheNextWait) {
    platform::Event event;
    EXPECT_FALSE(event.waitFor(0));
    event.signal();
    event.signal();  // signals do not add up
    EXPECT_TRUE(event.waitFor(0));
    EXPECT_FALSE(event.waitFor(20));

    // A signal with nobody waiting yet reaches a thread that waits later.
    Waiter waiter;
    waiter.go.signal();
    platform::Thread thread;
    ASSERT_TRUE(thread.start(waitOnce, &waiter));
    EXPECT_TRUE(thread.join(10000));
    EXPECT_EQ(waiter.passes.load(), 1);
}

struct Counter {
    platform::Mutex mutex;
    long value = 0;  // guarded by mutex
};

int countUnderLock(void* raw) {
    auto* counter = static_cast<Counter*>(raw);
    for (int i = 0; i < 20000; ++i) {
        counter->mutex.lock();
        counter->mutex.lock();  // the lock is recursive
        ++counter->value;
        counter->mutex.unlock();
        counter->mutex.unlock();
    }
    return 0;
}

TEST(Threads, MutexSerialisesAndIsRecursive) {
    Counter counter;
    platform::Thread threads[4];
    for (platform::Thread& thread : threads) ASSERT_TRUE(thread.start(countUnderLock, &counter));
    for (platform::Thread& thread : threads) EXPECT_TRUE(thread.join(0xFFFFFFFFu));
    counter.mutex.lock();
    EXPECT_EQ(counter.value, 4 * 20000);
    counter.mutex.unlock();
}

}  // namespace
