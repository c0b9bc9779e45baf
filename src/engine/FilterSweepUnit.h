// The filter-sweep effect: six first-order all-pass stages in a feedback loop whose break
// frequency an LFO sweeps between a lower and an upper frequency; the same LFO can swing the wet
// signal between the outputs. The LFO keeps its construction settings (the raised cosine from 0
// to 1 and back, no fade), so its values lie in 0..1.
//
// Threads. process() runs on the audio thread; every setter may come from any thread. Setters
// store single values that the next block picks up; reset() is recorded and carried out by the
// audio thread at the start of its next block, which it then processes.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/EffectRamp.h"
#include "engine/LFO.h"

class FilterSweepUnit {
public:
    static constexpr int32_t kLfoBlock = 8192;  // longer blocks are processed in pieces
    static constexpr int32_t kStages = 6;

    FilterSweepUnit();

    // Any thread.
    void setSampleRate(double rate);
    void setRange(float lowHz, float highHz);
    void setRate(float value);  // cycles per second, or with a tempo a note-value selector
    void reset();
    void setFeedback(float value);  // kept within 0..0.999
    void setPanDepth(float value) { panDepth_.store(value, std::memory_order_relaxed); }
    void setSmoothing(float value) { smoothing_.store(value, std::memory_order_relaxed); }
    void setWet(float value) { wet_.store(value, std::memory_order_relaxed); }
    void setDry(float value) { dry_.store(value, std::memory_order_relaxed); }

    // Audio thread. in and out are (left, right) pairs and may be the same buffers.
    void process(float* const in[2], float* const out[2], int32_t n, double tempo);

    // Inspection (tests).
    const LFO& lfo() const { return lfo_; }

private:
    void applyPending();
    void run(float* const in[2], float* const out[2], int32_t n, int32_t offset);

    // Values any thread may set.
    std::atomic<double> sampleRate_{44100.0};
    std::atomic<float> lowHz_{440.0f};
    std::atomic<float> highHz_{1600.0f};
    std::atomic<float> rate_{0.5f};
    std::atomic<float> feedbackTarget_{0.7f};
    std::atomic<float> panDepth_{0.0f};
    std::atomic<float> smoothing_{0.0f};
    std::atomic<float> wet_{1.0f};
    std::atomic<float> dry_{0.0f};
    std::atomic<uint32_t> resetRequests_{0};
    // The audio thread's own state.
    LFO lfo_;
    float lfoValues_[kLfoBlock];
    float coefficientState_[kStages] = {};
    float smoothState_ = 0.0f;
    float lastOutput_ = 0.0f;
    float antiDenormal_ = 1e-9f;
    float inputGainTarget_[2] = {0.5f, 0.5f};
    EffectRamp feedback_;
    EffectRamp inputGain_[2];
    uint32_t appliedResets_ = 0;
    // Per-block settings read once at the block start.
    float low_ = 0, high_ = 0, panCentre_ = 0.5f, depth_ = 0, smooth_ = 0, wetGain_ = 0,
          dryGain_ = 0;
};
