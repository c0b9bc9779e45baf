// Spaces out program applications: at most one per kIntervalMs. Tick counts are 32-bit
// milliseconds that wrap around, so elapsed time is their signed 32-bit difference. A negative
// difference means more than 2^31 ms (about 24.8 days) went by, which is long enough; and "nothing
// applied yet" is a state of its own rather than a tick value of 0. Either way a change is never
// held back because of how long the machine or the plug-in has been running.
#pragma once

#include <cstdint>

class ProgramChangeThrottle {
public:
    static constexpr std::int32_t kIntervalMs = 1000;

    // True when nothing was applied since the last reset or kIntervalMs have passed since.
    bool ready(std::uint32_t now) const {
        if (!applied_) return true;
        const std::int32_t elapsed = static_cast<std::int32_t>(now - lastApply_);
        return elapsed < 0 || elapsed >= kIntervalMs;
    }
    void record(std::uint32_t now) {
        lastApply_ = now;
        applied_ = true;
    }
    void reset() { applied_ = false; }

private:
    std::uint32_t lastApply_ = 0;
    bool applied_ = false;
};
