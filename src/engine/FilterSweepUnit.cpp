#include "engine/FilterSweepUnit.h"

#include <algorithm>

FilterSweepUnit::FilterSweepUnit() {
    lfo_.setSampleRate(44100.0);
    lfo_.setSpeed(0.5, 0.0);
    feedback_.current = 0.7f;
    inputGain_[0].current = inputGain_[1].current = 0.5f;
}

void FilterSweepUnit::setSampleRate(double rate) {
    if (rate > 0.0) sampleRate_.store(rate, std::memory_order_relaxed);
}

void FilterSweepUnit::setRange(float lowHz, float highHz) {
    lowHz_.store(lowHz, std::memory_order_relaxed);
    highHz_.store(highHz, std::memory_order_relaxed);
}

void FilterSweepUnit::setRate(float value) {
    rate_.store(value, std::memory_order_relaxed);
}

void FilterSweepUnit::reset() {
    resetRequests_.fetch_add(1, std::memory_order_release);
}

void FilterSweepUnit::setFeedback(float value) {
    feedbackTarget_.store(feedbackInRange(value), std::memory_order_relaxed);
}

// Carries out a recorded reset.
void FilterSweepUnit::applyPending() {
    uint32_t resets = resetRequests_.load(std::memory_order_acquire);
    if (resets == appliedResets_) return;
    appliedResets_ = resets;
    smoothState_ = 0.0f;
    lfo_.trigger();
    feedback_.finish(feedbackTarget_.load(std::memory_order_relaxed));
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].finish(inputGainTarget_[c]);
}

void FilterSweepUnit::process(float* const in[2], float* const out[2], int32_t n, double tempo) {
    if (n <= 0) return;
    applyPending();
    double rate = sampleRate_.load(std::memory_order_relaxed);
    if (rate != lfo_.sampleRate()) lfo_.setSampleRate(rate);
    float speed = rate_.load(std::memory_order_relaxed);
    if (speed != lfo_.speed()) lfo_.setSpeed(speed, 0.0);
    lfo_.setTempo(tempo);
    // Break frequencies are normalised by half the rate the unit runs at now.
    float nyquist = static_cast<float>(rate * 0.5);
    low_ = lowHz_.load(std::memory_order_relaxed) / nyquist;
    high_ = highHz_.load(std::memory_order_relaxed) / nyquist;
    depth_ = panDepth_.load(std::memory_order_relaxed);
    smooth_ = smoothing_.load(std::memory_order_relaxed);
    wetGain_ = wet_.load(std::memory_order_relaxed);
    dryGain_ = dry_.load(std::memory_order_relaxed);
    float feedbackTarget = feedbackTarget_.load(std::memory_order_relaxed);
    feedback_.begin(feedbackTarget, n);
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].begin(inputGainTarget_[c], n);

    for (int32_t done = 0; done < n;) {
        int32_t piece = std::min(n - done, kLfoBlock);
        lfo_.process(lfoValues_, piece);
        run(in, out, piece, done);
        done += piece;
    }
    feedback_.finish(feedbackTarget);
    for (int32_t c = 0; c < 2; ++c) inputGain_[c].finish(inputGainTarget_[c]);
    antiDenormal_ = -antiDenormal_;
}

void FilterSweepUnit::run(float* const in[2], float* const out[2], int32_t n, int32_t offset) {
    float s = panCentre_ + depth_;
    float wetL = wetGain_ * (1.0f - s);
    float wetR = wetGain_ * s;
    for (int32_t j = 0; j < n; ++j) {
        int32_t i = offset + j;
        float inL = in[0][i];
        float inR = in[1][i];
        float x = inL * inputGain_[0].take() + inR * inputGain_[1].take() + antiDenormal_;
        float c = low_ + (high_ - low_) * lfoValues_[j];
        float coefficient = (1.0f - c) / (1.0f + c);
        float u = x + lastOutput_ * feedback_.take();
        for (float& state : coefficientState_) {
            float y = -coefficient * u + state;
            state = coefficient * y + u;
            u = y;
        }
        lastOutput_ = u;
        float y = u * (1.0f - smooth_) + smoothState_ * smooth_;
        smoothState_ = y;
        if (depth_ > 0.0f) {
            s = std::min(panCentre_ + depth_ * (lfoValues_[j] - 0.5f), 1.0f);
            wetL = wetGain_ * (1.0f - s);
            wetR = wetGain_ * s;
        }
        out[0][i] = inL * dryGain_ + y * wetL;
        out[1][i] = inR * dryGain_ + y * wetR;
    }
}
