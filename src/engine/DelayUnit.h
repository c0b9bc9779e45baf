// The stereo delay effect: a feedback loop through two buffers with damping, whose taps
// alternate (tap a brings the echoes at 1, 3, 5 ... delay lengths, tap b those at 2, 4, 6 ...)
// and are crossed between the outputs. With a host tempo the length follows a note value.
//
// Threads. process() runs on the audio thread. setDelay, setBeats and clear may come from any
// thread: they are recorded and carried out by the audio thread at the start of its next block,
// which it then processes (also when the unit was out of use meanwhile). resize and
// setSampleRate replace the buffers: they must not run on the audio thread, and they wait until
// it has left process(); a block arriving meanwhile passes through unchanged. The gain, feedback
// and damping setters store single values that the next block picks up, ramping gains and
// feedback across the block.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/AudioExclusion.h"
#include "engine/EffectRamp.h"

class DelayUnit {
public:
    static constexpr float kDefaultMaxMs = 2000.0f;

    explicit DelayUnit(float maxMs = 0.0f);  // 0 means 2000 ms; buffers for 44100 Hz

    // Not the audio thread.
    void resize(float maxMs);
    void setSampleRate(double rate);

    // Any thread; carried out at the start of the next block.
    void clear();
    void setDelay(float value);  // 0..1 of the maximum length
    void setBeats(double beats);

    // Any thread.
    void setFeedback(float value);  // kept within 0..0.999
    void setDamping(float value) { damping_.store(value, std::memory_order_relaxed); }
    void setCross(float value) { cross_.store(value, std::memory_order_relaxed); }
    void setWet(float value) { wet_.store(value, std::memory_order_relaxed); }
    void setDry(float value) { dry_.store(value, std::memory_order_relaxed); }

    // Audio thread. in and out are (left, right) pairs and may be the same buffers.
    void process(float* const in[2], float* const out[2], int32_t n, double tempo);

    // Inspection (tests): the state the audio thread last worked with.
    int32_t bufferLength() const { return length_; }
    int32_t delaySamples() const { return delaySamples_; }
    double beats() const { return beats_.load(std::memory_order_relaxed); }
    float feedback() const { return feedbackTarget_.load(std::memory_order_relaxed); }

private:
    void rebuild(double rate, float maxMs);
    void applyPending();
    void clearNow();
    void setDelayNow(float value);
    void run(float* const in[2], float* const out[2], int32_t n);

    AudioExclusion exclusion_;
    // Values any thread may set.
    std::atomic<float> delayValue_{0.0f};
    std::atomic<double> beats_{1.0};
    std::atomic<float> feedbackTarget_{0.0f};
    std::atomic<float> damping_{0.0f};
    std::atomic<float> cross_{0.5f};
    std::atomic<float> wet_{1.0f};
    std::atomic<float> dry_{0.0f};
    std::atomic<uint32_t> delayVersion_{0};
    std::atomic<uint32_t> clearRequests_{0};
    // Buffers and their geometry: replaced only while the audio thread is locked out.
    double sampleRate_ = 44100.0;
    float maxMs_ = kDefaultMaxMs;
    int32_t length_ = 0;
    std::unique_ptr<float[]> bufferA_;
    std::unique_ptr<float[]> bufferB_;
    // The audio thread's own state.
    uint32_t appliedDelayVersion_ = 0;
    uint32_t appliedClears_ = 0;
    int32_t delaySamples_ = 0;
    int32_t writeIndex_ = 0;
    int32_t readIndex_ = 0;
    float dampState_ = 0.0f;
    float inputGainTarget_[2] = {0.5f, 0.5f};
    EffectRamp feedback_;
    EffectRamp inputGain_[2];
    float antiDenormal_ = 1e-9f;
};
