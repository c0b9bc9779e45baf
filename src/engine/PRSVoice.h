// The instrument's voice: plays one note from two sampled excitations (Base, read with linear
// interpolation, and Top, read with an 11-point windowed sinc) summed through an all-pole lattice
// whose coefficients come from a third source (Filter) and move with the Filter envelope.
//
// The work is split in two. Once per control block (512 frames, 200 for the first block after
// a start) updateControlBlock computes targets for pitch, amplitudes, lattice coefficients and
// pan from the parameters, envelopes, LFOs and key tracking, and the per-frame steps that reach
// them at the block's end. The kernel (VoiceKernel.h) then steps those ramps frame by frame in
// the render state. Nothing is allocated after construction; all of it runs on the audio thread.
//
// Key tracking: a Lo/Hi parameter pair gives Lo x keyLow + Hi x keyHigh, keyHigh = (note - 36)/60,
// not clamped, so notes outside 36..96 extrapolate.
#pragma once

#include <cstdint>
#include <memory>

#include "data/PResourceHold.h"
#include "engine/LayerLfo.h"
#include "engine/Voice.h"
#include "engine/VoiceContext.h"
#include "engine/VoiceRenderState.h"

struct VoiceNode;

class PRSVoice : public Voice {
public:
    // Envelope mode bits.
    static constexpr int32_t kHeld = 0x01;
    static constexpr int32_t kStartCode = 0x03;    // setEnvelopeStage: start the note
    static constexpr int32_t kReleaseCode = 0x04;  // setEnvelopeStage: release
    static constexpr int32_t kStolen = 0x08;
    static constexpr int32_t kStolenReleaseCode = kStolen | kReleaseCode;
    static constexpr int32_t kBaseAttack = 0x10;
    static constexpr int32_t kTopAttack = 0x20;
    static constexpr int32_t kFilterAttack = 0x40;
    // Finished bits.
    static constexpr int32_t kBaseFaded = 1;
    static constexpr int32_t kTopFaded = 2;
    static constexpr int32_t kFadeToSilence = 4;

    static constexpr int32_t kBlockLength = 512;
    static constexpr int32_t kFirstBlockLength = 200;

    enum Layer { kBase = 0, kTop = 1, kFilter = 2 };

    explicit PRSVoice(VoiceContext& context);
    ~PRSVoice() override;

    void render(float** inputs, float** outputs, int32_t frames) override;
    void start(int32_t note, double velocity) override;
    bool startRelease(double velocity) override;
    bool steal() override;
    void stopVoice() override;

    // Computes the next control block's targets and steps (called at every block boundary).
    void updateControlBlock();

    // For a renderer that runs the kernel itself (rendering voices side by side): whether the
    // voice has data to play, the frames left in its control block, the bookkeeping after the
    // kernel rendered `frames` frames from the render state, and the move to the next control
    // block once none are left.
    bool hasFilter() const { return framesA_ != nullptr; }
    int32_t framesToControlBlock() const { return blockLength_ - blockPosition_; }
    void advance(int32_t frames);
    void nextControlBlock();
    VoiceRenderState& renderState() { return *render_; }

    // Read-only views for tests.
    const VoiceRenderState& renderState() const { return *render_; }
    float randomPan() const { return randomPan_; }
    float envelopeLevel(int layer) const { return level_[layer]; }
    int32_t envelopeMode() const { return mode_; }
    int32_t finishedBits() const { return finished_; }
    int32_t semitoneOffset(int layer) const { return semitones_[layer]; }
    int32_t blockPosition() const { return blockPosition_; }

private:
    // Velocity and key factors of the note, then the envelope stage codes 3 (start), 4 (release)
    // and 12 (stolen release).
    void prepareVelocityAndKey();
    void setEnvelopeStage(int32_t code);
    float param(int index) const;
    float tracked(int low, int high) const;
    bool setUpLayer(int layer, const PResource* resource, double velocity, int32_t transpose);
    void silenceLayer(int layer);
    void setUpFilter(const LayerSamples& layers);
    void failStart();
    void dropResources();
    void unregister();
    void setIncrements(float semitones);
    float advanceEnvelope(int layer);
    void lookUpCoefficients(float position, float* target) const;
    void runKernel(int32_t frames, float* left, float* right);
    LayerLfoContext lfoContext() const;

    VoiceContext& context_;
    std::unique_ptr<VoiceRenderState> render_;
    PResourceHold hold_;  // base, top, filter A, filter B
    VoiceNode* node_ = nullptr;
    const float* params_ = nullptr;
    const float* decay_ = nullptr;

    int32_t semitones_[2] = {};
    float fineRatio_[2] = {1.0f, 1.0f};
    double samplePeriod_ = 1.0 / 44100.0;
    float rateFactor_ = static_cast<float>(16800.0 / 44100.0);
    float keyHigh_ = 0.4f;
    float keyLow_ = 0.6f;
    float velocityFactor_[3] = {};
    float attack_[2] = {};
    float randomPan_ = 0.0f;

    float level_[3] = {};
    float releaseStartLevel_[3] = {1.0f, 1.0f, 1.0f};
    float time_[3] = {};
    int32_t mode_ = 0;
    int32_t finished_ = 0;
    LayerLfoState lfo_;

    int32_t blockLength_ = kBlockLength;
    int32_t blockPosition_ = 0;

    const int16_t* framesA_ = nullptr;
    const int16_t* framesB_ = nullptr;
    int32_t frameCountA_ = 0;
    int32_t frameCountB_ = 0;
    float weight_ = 1.0f;
};
