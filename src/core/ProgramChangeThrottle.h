// Spaces out program applications: at most one per kIntervalMs by a millisecond tick source (the
// system's tick counter; tests set their own). Tick counts are 32-bit and wrap around, so elapsed
// time is their signed 32-bit difference. A negative difference means more than 2^31 ms (about
// 24.8 days) went by, which is long enough; and "nothing applied yet" is a state of its own rather
// than a tick value of 0. Either way a change is never held back because of how long the machine
// or the plug-in has been running.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

class ProgramChangeThrottle {
public:
    using TickSource = std::uint32_t (*)();
    static constexpr std::int32_t kIntervalMs = 1000;

    void setTickSource(TickSource ticks) { ticks_ = ticks; }
    // True when nothing was applied since the last reset or kIntervalMs have passed since.
    bool ready() const {
        if (!applied_) return true;
        const std::int32_t elapsed = static_cast<std::int32_t>(ticks_() - lastApply_);
        return elapsed < 0 || elapsed >= kIntervalMs;
    }
    void record() {
        lastApply_ = ticks_();
        applied_ = true;
    }
    void reset() { applied_ = false; }

private:
    TickSource ticks_ = platform::tickCount;
    std::uint32_t lastApply_ = 0;
    bool applied_ = false;
};
