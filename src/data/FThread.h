// A thread object: start() runs run() on a new thread at the stored priority.
// The owner waits for the thread's end (wait) before destroying the object.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

class FThread {
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

    FThread() = default;
    virtual ~FThread() = default;
    FThread(const FThread&) = delete;
    FThread& operator=(const FThread&) = delete;

    // Marks the thread started, creates it (running at once) and applies the stored priority.
    bool start();
    // 0 lowest, 1 normal, 2 highest, 3 time-critical; other values are refused. Stored, and
    // applied at once when the thread exists.
    bool setPriority(int priority);
    // True at once when never started; otherwise waits up to ms (kInfinite: for ever) for the
    // thread's end and answers false only when the time ran out.
    bool wait(std::uint32_t ms);

protected:
    // The thread body; its answer is the thread's exit code.
    virtual int run() { return 0; }

private:
    static int entry(void* self);

    int priority_ = 1;
    bool started_ = false;
    platform::Thread thread_;
};
