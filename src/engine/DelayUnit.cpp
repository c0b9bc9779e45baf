#include "engine/DelayUnit.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/TempoNoteValues.h"

DelayUnit::DelayUnit(float maxMs) {
    inputGain_[0].current = inputGain_[1].current = 0.5f;
    rebuild(44100.0, maxMs > 0.0f ? maxMs : kDefaultMaxMs);  // the buffers start empty
}

void DelayUnit::resize(float maxMs) {
    rebuild(0.0, maxMs);
}

void DelayUnit::setSampleRate(double rate) {
    rebuild(rate, 0.0f);
}

// Replaces the buffers for a new rate or maximum (0 keeps the current one) while the audio
// thread is locked out; the old buffers are freed after letting it back in. The geometry is read
// and written only inside, so concurrent callers cannot mix their changes.
void DelayUnit::rebuild(double rate, float maxMs) {
    if (!(rate >= 0.0) || !(maxMs >= 0.0f)) return;  // also refuses NaN
    std::unique_ptr<float[]> a, b;
    exclusion_.lockOut();
    double newRate = rate > 0.0 ? rate : sampleRate_;
    float newMax = maxMs > 0.0f ? maxMs : maxMs_;
    int32_t length = 0;
    if (newRate != sampleRate_ || newMax != maxMs_ || !bufferA_) {
        double samples = std::min(static_cast<double>(newMax) * newRate * 0.001, 1e8);
        length = std::max(static_cast<int32_t>(samples), 4);
        a.reset(new (std::nothrow) float[length]());
        b.reset(new (std::nothrow) float[length]());
    }
    if (a && b) {  // otherwise nothing changed, or an allocation failed: keep the buffers
        sampleRate_ = newRate;
        maxMs_ = newMax;
        length_ = length;
        bufferA_.swap(a);
        bufferB_.swap(b);
        readIndex_ = 0;
        clearNow();
        setDelayNow(delayValue_.load(std::memory_order_relaxed));
    }
    exclusion_.letIn();
}

void DelayUnit::clear() {
    clearRequests_.fetch_add(1, std::memory_order_release);
}

void DelayUnit::setDelay(float value) {
    float v = clamp01(value);
    delayValue_.store(v, std::memory_order_relaxed);
    beats_.store(beatStep(v), std::memory_order_relaxed);  // until a synchronised length is set
    delayVersion_.fetch_add(1, std::memory_order_release);
}

void DelayUnit::setBeats(double beats) {
    beats_.store(beats, std::memory_order_relaxed);
    delayVersion_.fetch_add(1, std::memory_order_release);
}

void DelayUnit::setFeedback(float value) {
    feedbackTarget_.store(feedbackInRange(value), std::memory_order_relaxed);
}

void DelayUnit::clearNow() {
    std::fill(bufferA_.get(), bufferA_.get() + length_, 0.0f);
    std::fill(bufferB_.get(), bufferB_.get() + length_, 0.0f);
    dampState_ = 0.0f;
    feedback_.finish(feedbackTarget_.load(std::memory_order_relaxed));
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].finish(inputGainTarget_[c]);
}

void DelayUnit::setDelayNow(float value) {
    delaySamples_ =
        std::min(static_cast<int32_t>(value * static_cast<float>(length_)), length_ - 2);
    if (readIndex_ >= length_) readIndex_ = 0;
    writeIndex_ = readIndex_ + delaySamples_;
    if (writeIndex_ >= length_) writeIndex_ -= length_;
}

// Carries out recorded clears and delay changes.
void DelayUnit::applyPending() {
    uint32_t clears = clearRequests_.load(std::memory_order_acquire);
    uint32_t version = delayVersion_.load(std::memory_order_acquire);
    if (clears != appliedClears_) clearNow();
    if (version != appliedDelayVersion_) setDelayNow(delayValue_.load(std::memory_order_relaxed));
    appliedClears_ = clears;
    appliedDelayVersion_ = version;
}

void DelayUnit::process(float* const in[2], float* const out[2], int32_t n, double tempo) {
    if (n <= 0) return;
    if (!exclusion_.enter()) {
        passThrough(in, out, n);
        return;
    }
    if (!bufferA_) {
        passThrough(in, out, n);
    } else {
        applyPending();
        if (tempo > 0.0) {
            double samples = sampleRate_ / (tempo / 60.0) * beats_.load(std::memory_order_relaxed);
            samples = std::clamp(samples, 0.0, static_cast<double>(length_ - 2));
            delaySamples_ = static_cast<int32_t>(samples);
            writeIndex_ = readIndex_ + delaySamples_;
            if (writeIndex_ >= length_) writeIndex_ -= length_;
        }
        run(in, out, n);
    }
    exclusion_.leave();
}

void DelayUnit::run(float* const in[2], float* const out[2], int32_t n) {
    float feedbackTarget = feedbackTarget_.load(std::memory_order_relaxed);
    float damping = damping_.load(std::memory_order_relaxed);
    float cross = cross_.load(std::memory_order_relaxed);
    float wet = wet_.load(std::memory_order_relaxed);
    float dry = dry_.load(std::memory_order_relaxed);
    float wetSame = wet * (1.0f - cross);
    float wetOther = wet * cross;
    feedback_.begin(feedbackTarget, n);
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].begin(inputGainTarget_[c], n);
    float* a = bufferA_.get();
    float* b = bufferB_.get();
    for (int32_t i = 0; i < n; ++i) {
        float inL = in[0][i];
        float inR = in[1][i];
        float mono = inL * inputGain_[0].take() + inR * inputGain_[1].take() + antiDenormal_;
        float tapA = a[readIndex_] * (1.0f - damping) + dampState_ * damping;
        dampState_ = tapA;
        float tapB = b[readIndex_];
        a[writeIndex_] = mono + tapB * feedback_.take();
        b[writeIndex_] = tapA;
        out[0][i] = inL * dry + tapA * wetSame + tapB * wetOther;
        out[1][i] = inR * dry + tapA * wetOther + tapB * wetSame;
        if (++readIndex_ >= length_) readIndex_ = 0;
        if (++writeIndex_ >= length_) writeIndex_ = 0;
    }
    feedback_.finish(feedbackTarget);
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].finish(inputGainTarget_[c]);
    antiDenormal_ = -antiDenormal_;
}
