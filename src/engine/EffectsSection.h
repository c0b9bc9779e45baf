// The effects after the voices: the delay unit or the filter-sweep unit ("FX Type"), skipped
// while "FX Bypass" is not exactly 0, synchronised to the host tempo when "Fx Sync" is on. It
// also turns the effect parameters into settings of the two units.
//
// Threads: applyParameter and resume may come from any thread (the units hand reconfiguration
// to the audio thread); setSampleRate must not run on the audio thread; process is the audio
// thread's.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/DelayUnit.h"
#include "engine/FilterSweepUnit.h"

class EffectsSection {
public:
    // Parameter numbers the section reads.
    static constexpr int32_t kFxSync = 65;
    static constexpr int32_t kFxDelay = 66;
    static constexpr int32_t kFxFeedback = 67;
    static constexpr int32_t kFxSpread = 68;
    static constexpr int32_t kFxSpeed = 69;
    static constexpr int32_t kFxDepth = 70;
    static constexpr int32_t kFxMix = 71;
    static constexpr int32_t kFxBypass = 91;
    static constexpr int32_t kFxType = 93;

    // `params` are the 108 values of the edit preset (read with relaxed atomic loads); the
    // pointer may be changed with setParameters when the current program changes.
    explicit EffectsSection(const float* params) : params_(params) {}
    void setParameters(const float* params) { params_.store(params, std::memory_order_release); }

    // Applies one parameter's value to the units; indices without effect rows are ignored.
    void applyParameter(int32_t index, float value);
    void setSampleRate(double rate);
    // Clears the delay and resets the sweep (resume).
    void resume();
    // Runs the chosen unit over the block in place, unless bypassed.
    void process(float* const buffers[2], int32_t n, double hostTempo);

    DelayUnit& delay() { return delay_; }
    FilterSweepUnit& sweep() { return sweep_; }

private:
    float parameter(int32_t index) const;

    std::atomic<const float*> params_;
    DelayUnit delay_;
    FilterSweepUnit sweep_;
};
