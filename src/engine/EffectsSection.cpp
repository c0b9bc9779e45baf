#include "engine/EffectsSection.h"

#include <algorithm>

#include "engine/RelaxedFloat.h"
#include "engine/TempoNoteValues.h"

float EffectsSection::parameter(int32_t index) const {
    return loadRelaxed(params_[index]);
}

void EffectsSection::applyParameter(int32_t index, float value) {
    switch (index) {
        case kFxSync:
            if (value > 0.0f)
                delay_.setBeats(kNoteValues[noteValueIndex(parameter(kFxDelay))].beats);
            break;
        case kFxDelay:
            delay_.setDelay(value * value * 1980.0f / 2000.0f + 0.01f);
            if (parameter(kFxSync) > 0.5f) {
                delay_.setBeats(kNoteValues[noteValueIndex(value)].beats);
                sweep_.setRate(value);
            } else {
                sweep_.setRate(value * value * 4.999f + 0.001f);
            }
            break;
        case kFxFeedback:
            delay_.setFeedback(std::min(value, 0.999f));
            sweep_.setFeedback(std::min(value, 0.999f));
            break;
        case kFxSpread:
            delay_.setDamping(value);
            sweep_.setSmoothing(value);
            break;
        case kFxSpeed:
            sweep_.setPanDepth(value * value);
            delay_.setCross(value * 0.5f + 0.5f);
            break;
        case kFxDepth:
            sweep_.setRange(440.0f, 440.0f + 2160.0f * value);
            break;
        case kFxMix:
            delay_.setDry(1.0f - value);
            delay_.setWet(value);
            sweep_.setDry(1.0f - value);
            sweep_.setWet(value);
            break;
        case kFxType:
            sweep_.reset();
            delay_.clear();
            break;
        default:
            break;
    }
}

void EffectsSection::setSampleRate(double rate) {
    delay_.setSampleRate(rate);
    sweep_.setSampleRate(rate);
}

void EffectsSection::resume() {
    delay_.clear();
    sweep_.reset();
}

void EffectsSection::process(float* const buffers[2], int32_t n, double hostTempo) {
    if (parameter(kFxBypass) != 0.0f) return;
    double tempo = parameter(kFxSync) > 0.5f ? hostTempo : 0.0;
    if (parameter(kFxType) > 0.5f)
        sweep_.process(buffers, buffers, n, tempo);
    else
        delay_.process(buffers, buffers, n, tempo);
}
