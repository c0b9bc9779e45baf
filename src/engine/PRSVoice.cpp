#include "engine/PRSVoice.h"

#include <cmath>

#include "data/PResource.h"
#include "data/PResourceHold.h"
#include "engine/EngineRandom.h"
#include "engine/EnvelopeCurve.h"
#include "engine/FastMath.h"
#include "engine/FrameLookup.h"
#include "engine/RelaxedFloat.h"
#include "engine/SoundingVoiceList.h"
#include "engine/VoiceKernel.h"
#include "engine/VoiceTables.h"
#include "engine/VoicerHost.h"

namespace {

// Parameter numbers read by the voice.
constexpr int kAmountFilterHi = 0, kAmountFilterLo = 1, kOffsetFilterHi = 2, kOffsetFilterLo = 3;
constexpr int kAttackBaseLo = 8, kAttackTopLo = 12, kAttackFilterLo = 16;
constexpr int kAttackBaseHi = 76, kAttackTopHi = 79, kAttackFilterHi = 82;
constexpr int kFilterEmphasis = 45;
constexpr int kOctaveBase = 52, kOctaveTop = 54;
constexpr int kMasterTune = 56, kPanSpread = 58;
constexpr int kVelocityBase = 59, kVelocityTop = 60, kVelocityFilter = 61;
constexpr int kVelAttackBase = 62, kVelAttackTop = 63;
constexpr int kPan = 86;

// Per layer: the envelope's Lo/Hi pairs, its first bend (attack, decay, release follow) and its
// attack bit; for Base and Top also the volume pair.
struct EnvelopeParams {
    int decayLo, decayHi, sustainLo, sustainHi, releaseLo, releaseHi, firstBend, attackBit;
    int volumeLo, volumeHi;
};
constexpr EnvelopeParams kEnvelope[3] = {
    {20, 9, 10, 77, 11, 78, 23, PRSVoice::kBaseAttack, 5, 4},
    {21, 13, 14, 80, 15, 81, 26, PRSVoice::kTopAttack, 7, 6},
    {22, 17, 18, 83, 19, 84, 29, PRSVoice::kFilterAttack, 0, 0},
};

// Per sample layer: where a note starts in its data.
struct StartParams {
    int offset, velocityOffset;  // "Start Offset" and "Vel Start" parameters
    int32_t margin;              // room kept before the loop end
    int16_t marker0, marker3;    // sample 0 and 3 of a table of start points
    int32_t tableRootShift;      // semitone offset = root key - shift + (note & 7)
};
constexpr StartParams kStart[2] = {{87, 89, 2, -3328, -3840, 8}, {88, 90, 12, -6912, -4096, 9}};

constexpr double kIncrementScale = 722496915.0;  // ratio 1 reads 11024.43 samples per second
constexpr float kMaxIncrement = 16777216.0f;     // 256 samples per frame
constexpr float kFadedLevel = 0.0001f;
constexpr float kStolenReleaseRate = 0.1f;
constexpr float kRampThreshold = 1e-6f;
constexpr float kLatticeLimit = 1e30f;  // a state beyond this comes from broken filter data

// Zeros that a silent layer reads: 12 samples from position 0, loop end 0.
alignas(16) const int16_t kSilence[16] = {};

float clamp01(float v) {
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}
float finiteOr(float v, float fallback) {
    return std::isfinite(v) ? v : fallback;
}

// The step that reaches target from current in `frames` frames, or 0 when close enough.
float rampStep(float target, float current, int32_t frames) {
    const float difference = target - current;
    if (!(std::fabs(difference) > kRampThreshold)) return 0.0f;
    return difference / static_cast<float>(frames);
}

// Attack start for an attack rate: level, extra time and whether an attack runs.
struct AttackStart {
    float level;
    float time;
    bool attacking;
};
AttackStart attackStart(float rate) {
    const int a = roundToEven(clamp01(rate) * 100.0f);
    if (a == 0) return {1.0f, 512.0f, false};
    if (a == 1) return {0.2f, 1600.0f, true};
    return {0.0f, 512.0f, true};
}

}  // namespace

PRSVoice::PRSVoice(VoiceContext& context)
    : context_(context), render_(std::make_unique<VoiceRenderState>()) {
    channel = 0;
    note = 60;
    velocityValue = 60;
    const VoiceTables& tables = context.voiceTables();
    decay_ = tables.decay;
    VoiceRenderState& s = *render_;
    s.linearTable = &tables.linear[0][0];
    s.sincTable = &tables.sinc[0][0];
    s.inputBias = 1e-4f;
    s.frameCount = kBlockLength;
    s.order = 10;
    for (int lane = 0; lane < 4; ++lane) s.fractionMask[lane] = 0xFFFF;
    silenceLayer(kBase);
    silenceLayer(kTop);
}

PRSVoice::~PRSVoice() {
    dropResources();
}

// ---- Parameters --------------------------------------------------------------------------------

float PRSVoice::param(int index) const {
    return clamp01(loadRelaxed(params_[index]));
}

float PRSVoice::tracked(int low, int high) const {
    return param(low) * keyLow_ + param(high) * keyHigh_;
}

// ---- Starting a note ---------------------------------------------------------------------------

void PRSVoice::start(int32_t newNote, double newVelocity) {
    if (!node_) {
        if (SoundingVoiceList* list = context_.soundingVoices()) node_ = list->add(this);
    }
    note = newNote;
    params_ = context_.editParameters();
    if (!params_) {
        failStart();
        return;
    }

    LayerSamples layers;
    layers.baseTranspose = 12 * static_cast<int32_t>((param(kOctaveBase) - 0.52) * 5.0);
    layers.topTranspose = 12 * static_cast<int32_t>((param(kOctaveTop) - 0.52) * 5.0);
    context_.getLayerSamples(newNote, layers);

    hold_.hold(layers.base, layers.top, layers.filterA,
               layers.filterB ? layers.filterB : layers.filterA);
    const PResource* base = hold_.get(0);
    const PResource* top = hold_.get(1);
    const PResource* filterA = hold_.get(2);

    const bool playable =
        base && base->hasData() && top && top->hasData() && filterA && filterA->filter().frames;
    if (!playable) {
        failStart();
        return;
    }

    // The key display takes MIDI velocities; the voice's velocity is 0..1.
    if (host) host->showKeyDown(channel, newNote, static_cast<int32_t>(newVelocity * 127.0 + 0.5));

    samplePeriod_ = context_.samplePeriod();
    rateFactor_ = static_cast<float>(samplePeriod_ * 16800.0);
    if (!setUpLayer(kBase, base, newVelocity, layers.baseTranspose)) silenceLayer(kBase);
    if (!setUpLayer(kTop, top, newVelocity, layers.topTranspose)) silenceLayer(kTop);
    setUpFilter(layers);

    prepareVelocityAndKey();
    setEnvelopeStage(kStartCode);
}

// A note without data is silent: the voice finishes at once and the manager frees it.
void PRSVoice::failStart() {
    dropResources();
    state = VoiceState::Finished;
    stolen = false;
    unregister();
}

void PRSVoice::dropResources() {
    silenceLayer(kBase);
    silenceLayer(kTop);
    framesA_ = framesB_ = nullptr;
    hold_.drop();
}

void PRSVoice::unregister() {
    if (node_) {
        if (SoundingVoiceList* list = context_.soundingVoices()) list->remove(node_);
    }
    node_ = nullptr;
}

void PRSVoice::silenceLayer(int layer) {
    VoiceRenderState& s = *render_;
    s.samples[layer] = kSilence;
    s.position[layer] = s.fraction[layer] = 0;
    s.loopEnd[layer] = s.loopLength[layer] = 0;
    s.increment[layer] = 0.0f;
    semitones_[layer] = 0;
    fineRatio_[layer] = 1.0f;
}

// Sets up the Base or Top layer from its file; false when the layer must stay silent (a format
// older than version 10).
bool PRSVoice::setUpLayer(int layer, const PResource* resource, double velocity,
                          int32_t transpose) {
    const PResource::Samples data = resource->samples();
    if (!data.samples || data.formatVersion < 10) return false;
    const StartParams& p = kStart[layer];
    VoiceRenderState& s = *render_;

    semitones_[layer] = note - data.rootKey + transpose;
    fineRatio_[layer] = static_cast<float>((data.fineTune - 50) * 0.001 + 1.0);
    s.samples[layer] = data.samples;
    s.loopEnd[layer] = data.loopEnd;
    s.loopLength[layer] = data.loopEnd - data.loopStart;

    int32_t position = data.startFrame;
    const float offset = param(p.offset), velocityOffset = param(p.velocityOffset);
    if (offset != 0.0f || velocityOffset != 0.0f) {
        const int32_t m = data.loopEnd - data.startFrame - p.margin;
        position += static_cast<int32_t>(offset * m + velocityOffset * 65536.0 * velocity);
        if (position > m) position = m;
    }
    // A table of start points: one start position per note, read only when the data holds it.
    if (data.samples[0] == p.marker0 && data.samples[3] == p.marker3 && note >= 0 &&
        note < data.sampleCount) {
        semitones_[layer] = data.rootKey - p.tableRootShift + (note & 7);
        position = data.samples[note] & 0x3FFF;
    }
    // The kernel reads 12 samples from any position up to the loop end, never before 0.
    if (position < 0) position = 0;
    if (position > data.loopEnd) position = data.loopEnd;
    s.position[layer] = position;
    return true;
}

void PRSVoice::setUpFilter(const LayerSamples& layers) {
    const PResource::Filter a = hold_.get(2)->filter();
    PResource::Filter b = hold_.get(3)->filter();
    if (!b.frames) b = a;  // a neighbour without data counts as none
    framesA_ = a.frames;
    frameCountA_ = a.frameCount;
    framesB_ = b.frames;
    frameCountB_ = b.frameCount;
    render_->order = a.order;
    weight_ = clamp01(finiteOr(layers.filterWeight, 1.0f));
    const float gainA = a.gain * 0.02f, gainB = b.gain * 0.02f;
    render_->outputGain = (gainA * gainA * weight_ + gainB * gainB * (1.0f - weight_)) * -1e-10f;
}

void PRSVoice::prepareVelocityAndKey() {
    const float v = static_cast<float>(velocityValue) * 0.01f;
    keyHigh_ = static_cast<float>(note - 36) / 60.0f;
    keyLow_ = 1.0f - keyHigh_;
    velocityFactor_[kBase] = v * v * param(kVelocityBase) + 0.5f - param(kVelocityBase) * 0.5f;
    velocityFactor_[kTop] = v * v * param(kVelocityTop) + 0.5f - param(kVelocityTop) * 0.5f;
    velocityFactor_[kFilter] = v * param(kVelocityFilter) + 1.0f - param(kVelocityFilter) * 0.8f;
    attack_[kBase] =
        clamp01((0.4f - v) * param(kVelAttackBase) + tracked(kAttackBaseLo, kAttackBaseHi));
    attack_[kTop] =
        clamp01((0.4f - v) * param(kVelAttackTop) + tracked(kAttackTopLo, kAttackTopHi));
    randomPan_ = (static_cast<float>(engineRand()) * 3.0517e-05f - 0.5f) * param(kPanSpread);
}

// ---- Envelopes ---------------------------------------------------------------------------------

void PRSVoice::setEnvelopeStage(int32_t code) {
    mode_ = code;
    if (code & 0x02) {
        mode_ = kHeld;
        VoiceRenderState& s = *render_;
        finished_ = 0;
        lfo_.reset();
        s.fraction[kBase] = s.fraction[kTop] = 0;
        setIncrements(param(kMasterTune) * 2.0f - 0.9f + static_cast<float>(pitchBend) * 3.0f);

        for (int j = 0; j < kLatticeCapacity; ++j) s.g[j] = s.dk[j] = 0.0f;
        blockPosition_ = 0;
        blockLength_ = kFirstBlockLength;

        const float attackRate[3] = {attack_[kBase], attack_[kTop], param(kAttackFilterLo)};
        for (int layer = kBase; layer <= kFilter; ++layer) {
            const AttackStart a = attackStart(attackRate[layer]);
            level_[layer] = a.level;
            time_[layer] = a.time;
            if (a.attacking) mode_ |= kEnvelope[layer].attackBit;
        }
        for (int layer = kBase; layer <= kTop; ++layer) {
            const EnvelopeParams& e = kEnvelope[layer];
            s.amplitude[layer] = clamp01(static_cast<float>(volume) * velocityFactor_[layer] *
                                         level_[layer] * tracked(e.volumeLo, e.volumeHi));
            s.amplitude[layer + 2] = s.amplitude[layer];
        }
        const float position =
            tracked(kAmountFilterLo, kAmountFilterHi) * velocityFactor_[kFilter] * level_[kFilter] +
            tracked(kOffsetFilterLo, kOffsetFilterHi);
        lookUpCoefficients(position, s.k);

        s.pan[1] = clamp01(randomPan_ + param(kPan));
        s.pan[0] = 1.0f - s.pan[1];
        updateControlBlock();
        return;
    }
    if (code & kReleaseCode) {
        mode_ = code & kStolen;
        for (int layer = kBase; layer <= kFilter; ++layer) {
            time_[layer] = 0.0f;
            releaseStartLevel_[layer] = level_[layer];
        }
    }
}

// Moves one layer's envelope to its level for the coming block and answers the level.
float PRSVoice::advanceEnvelope(int layer) {
    const EnvelopeParams& e = kEnvelope[layer];
    const float t = time_[layer];
    auto curve = [&](float rate, int bend) {
        return envelopeCurve(decay_, rateFactor_, rate, t, param(bend));
    };
    const int fadedBit = layer == kBase ? kBaseFaded : kTopFaded;
    float& level = level_[layer];

    if (mode_ & e.attackBit) {
        const float rate =
            layer == kFilter ? tracked(kAttackFilterLo, kAttackFilterHi) : attack_[layer];
        level = 1.0f - curve(rate, e.firstBend);
        if (level > 0.99f) {
            mode_ &= ~e.attackBit;
            time_[layer] = 0.0f;
        }
    } else if (mode_ & kHeld) {
        const float sustain = clamp01(tracked(e.sustainLo, e.sustainHi));
        level = sustain + (1.0f - sustain) * curve(tracked(e.decayLo, e.decayHi), e.firstBend + 1);
        if (layer != kFilter && level < kFadedLevel) finished_ |= fadedBit;
    } else if (layer == kFilter) {
        if (level > 0.0f) {
            level = releaseStartLevel_[layer] *
                    curve(tracked(e.releaseLo, e.releaseHi), e.firstBend + 2);
        }
    } else if (level > kFadedLevel) {
        const bool fast = (mode_ & kStolen) && param(e.releaseLo) > kStolenReleaseRate;
        const float rate = fast ? kStolenReleaseRate : tracked(e.releaseLo, e.releaseHi);
        level = releaseStartLevel_[layer] * curve(rate, e.firstBend + 2);
    } else {
        finished_ |= fadedBit;
    }
    return level;
}

bool PRSVoice::startRelease(double) {
    setEnvelopeStage(kReleaseCode);
    return true;
}

bool PRSVoice::steal() {
    setEnvelopeStage(kStolenReleaseCode);
    return true;
}

void PRSVoice::stopVoice() {
    dropResources();
    unregister();
}

// ---- Control blocks ----------------------------------------------------------------------------

void PRSVoice::setIncrements(float semitones) {
    for (int layer = kBase; layer <= kTop; ++layer) {
        float increment = static_cast<float>(
            pow2(static_cast<double>(semitones + static_cast<float>(semitones_[layer])) / 12.0) *
            fineRatio_[layer] * samplePeriod_ * kIncrementScale);
        if (!(increment >= 0.0f)) increment = 0.0f;
        if (increment > kMaxIncrement) increment = kMaxIncrement;
        // A silent layer stands still on its zeros.
        render_->increment[layer] = render_->samples[layer] == kSilence ? 0.0f : increment;
        render_->increment[layer + 2] = render_->increment[layer];
    }
}

LayerLfoContext PRSVoice::lfoContext() const {
    LayerLfoContext c;
    c.params = params_;
    c.decayTable = decay_;
    c.layerTables = context_.layerLfoTables();
    c.samplePeriod = samplePeriod_;
    c.rateFactor = rateFactor_;
    c.hostTempo = context_.hostTempo();
    return c;
}

void PRSVoice::lookUpCoefficients(float position, float* target) const {
    const int order = render_->order;
    const float emphasis = param(kFilterEmphasis);
    alignas(16) float a[16];
    alignas(16) float b[16];
    frameLookup(a, framesA_, frameCountA_, order, position, emphasis);
    if (weight_ == 1.0f) {  // no neighbour: table B adds exactly 0
        for (int j = 0; j <= order; ++j) target[j] = a[j];
        return;
    }
    frameLookup(b, framesB_, frameCountB_, order, position, emphasis);
    for (int j = 0; j <= order; ++j) target[j] = a[j] * weight_ + b[j] * (1.0f - weight_);
}

void PRSVoice::updateControlBlock() {
    if (!params_ || !framesA_) return;  // never started, or its data is gone
    VoiceRenderState& s = *render_;
    const int32_t frames = blockLength_;
    const LayerLfoContext lfo = lfoContext();

    setIncrements(param(kMasterTune) * 2.0f - 0.9f + static_cast<float>(pitchBend) * 3.0f +
                  3.0f * lfoValue(lfo, lfo_, kPitchLfo, 1.0f));

    for (int layer = kBase; layer <= kTop; ++layer) {
        const EnvelopeParams& e = kEnvelope[layer];
        float a = clamp01(tracked(e.volumeLo, e.volumeHi) + lfoValue(lfo, lfo_, layer, 1.0f));
        a *= velocityFactor_[layer] * static_cast<float>(volume);
        a = finiteOr(a * advanceEnvelope(layer), 0.0f);
        s.amplitudeStep[layer] = rampStep(a, s.amplitude[layer], frames);
    }

    if (finished_ > 3) state = VoiceState::Finished;

    const float amount = tracked(kAmountFilterLo, kAmountFilterHi) * velocityFactor_[kFilter];
    const float level = advanceEnvelope(kFilter);
    const float position = amount * level + tracked(kOffsetFilterLo, kOffsetFilterHi) +
                           lfoValue(lfo, lfo_, kFilter, 1.0f);
    alignas(16) float target[16];
    lookUpCoefficients(position, target);
    for (int j = 0; j <= s.order; ++j) s.dk[j] = rampStep(target[j], s.k[j], frames);

    // An exploding lattice (only broken filter data can make one) starts again from rest.
    for (int j = 0; j < s.order; ++j) {
        if (!(std::fabs(s.g[j]) < kLatticeLimit)) {
            for (int i = 0; i < kLatticeCapacity; ++i) s.g[i] = 0.0f;
            break;
        }
    }

    float right = 0.0f, left = 0.0f;
    if (finished_ < 3) {
        right = randomPan_ + param(kPan);
        right = right > 1e-6f ? (right < 0.999999f ? right : 0.999999f) : 1e-6f;
        left = 1.0f - right;
    } else {
        finished_ |= kFadeToSilence;
    }
    s.panStep[0] = rampStep(left, s.pan[0], frames);
    s.panStep[1] = rampStep(right, s.pan[1], frames);

    for (int lane = 2; lane < 4; ++lane) s.amplitudeStep[lane] = s.amplitudeStep[lane - 2];
}

// ---- Rendering ---------------------------------------------------------------------------------

void PRSVoice::runKernel(int32_t frames, float* left, float* right) {
    VoiceRenderState& s = *render_;
    s.frameCount = frames;
    s.output[0] = left;
    s.output[1] = right;
    renderVoice(s);
    advance(frames);
}

void PRSVoice::advance(int32_t frames) {
    blockPosition_ += frames;
    for (float& t : time_) t += static_cast<float>(frames);
    lfo_.advanceDelay(frames);
}

void PRSVoice::nextControlBlock() {
    blockPosition_ = 0;
    blockLength_ = kBlockLength;
    updateControlBlock();
}

void PRSVoice::render(float**, float** outputs, int32_t frames) {
    if (!framesA_ || frames <= 0) return;
    float* left = outputs[0];
    float* right = outputs[1];
    while (frames > 0 && state != VoiceState::Finished) {
        const int32_t available = framesToControlBlock();
        if (available >= frames) {
            runKernel(frames, left, right);
            return;
        }
        runKernel(available, left, right);
        nextControlBlock();
        left += available;
        right += available;
        frames -= available;
    }
}
