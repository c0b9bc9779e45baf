// An auto-reset event, not signalled at creation: signal() wakes one wait(); a signal that
// arrives while nobody waits is kept for the next wait().
#pragma once

#include <cstdint>

#include "platform/Platform.h"

class FCondition {
public:
    FCondition() = default;
    FCondition(const FCondition&) = delete;
    FCondition& operator=(const FCondition&) = delete;

    void signal() { event_.signal(); }
    void wait() { event_.wait(); }
    // Waits at most ms milliseconds; false when the time ran out without a signal.
    bool wait(std::uint32_t ms) { return event_.waitFor(ms); }

private:
    platform::Event event_;
};
