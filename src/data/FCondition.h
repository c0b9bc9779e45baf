// An auto-reset event, not signalled at creation: signal() wakes one wait(); a signal that
// arrives while nobody waits is kept for the next wait().
#pragma once

#include "platform/Platform.h"

class FCondition {
public:
    FCondition() = default;
    FCondition(const FCondition&) = delete;
    FCondition& operator=(const FCondition&) = delete;

    void signal() { event_.signal(); }
    void wait() { event_.wait(); }

private:
    platform::Event event_;
};
