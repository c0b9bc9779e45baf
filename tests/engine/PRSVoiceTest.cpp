#include "engine/PRSVoice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/EngineRandom.h"
#include "engine/KernelChoice.h"
#include "engine/VoiceTestSupport.h"

namespace {

using voicetest::FakeVoiceContext;
using voicetest::FilterFile;
using voicetest::SampleFile;

struct Output {
    std::vector<float> left, right;
};

class PRSVoiceTest : public ::testing::Test {
protected:
    PRSVoiceTest() { context.setLayers(SampleFile{}, SampleFile{}, FilterFile{}); }

    void start(PRSVoice& voice, int note, int velocity = 100) {
        voice.note = note;
        voice.velocityValue = velocity;
        voice.velocity = velocity / 127.0;
        voice.volume = 101.0 / 127.0;
        voice.state = VoiceState::Free;
        voice.start(note, voice.velocity);
        if (voice.state != VoiceState::Finished) voice.state = VoiceState::Playing;
    }
    // Renders into `out` (growing it) in pieces of the given sizes.
    static void render(PRSVoice& voice, Output& out, std::initializer_list<int> pieces) {
        for (int frames : pieces) {
            const std::size_t at = out.left.size();
            out.left.resize(at + frames, 0.0f);
            out.right.resize(at + frames, 0.0f);
            float* outputs[2] = {out.left.data() + at, out.right.data() + at};
            voice.render(nullptr, outputs, frames);
        }
    }
    // Renders blocks of 512 until the voice finishes; answers the frames rendered.
    static int renderUntilFinished(PRSVoice& voice, Output& out, int limit) {
        int frames = 0;
        while (voice.state != VoiceState::Finished && frames < limit) {
            render(voice, out, {512});
            frames += 512;
        }
        return frames;
    }

    FakeVoiceContext context;
};

TEST_F(PRSVoiceTest, KeyTrackingAndVelocityShaping) {
    PRSVoice voice(context);
    const struct {
        int note;
        float high;
    } keys[] = {{36, 0.0f}, {96, 1.0f}, {66, 0.5f}, {24, -0.2f}};
    for (const auto& k : keys) {
        start(voice, k.note);
        EXPECT_FLOAT_EQ(voice.keyHigh(), k.high) << k.note;
        EXPECT_FLOAT_EQ(voice.keyLow(), 1.0f - k.high) << k.note;
    }

    context.params[59] = 0.0f;  // velocity-independent Base level
    context.params[60] = 0.8f;
    context.params[61] = 0.5f;
    start(voice, 60, 100);  // v = 1.0
    EXPECT_FLOAT_EQ(voice.velocityFactor(PRSVoice::kBase), 0.5f);
    EXPECT_FLOAT_EQ(voice.velocityFactor(PRSVoice::kTop), 0.9f);
    EXPECT_FLOAT_EQ(voice.velocityFactor(PRSVoice::kFilter), 1.1f);
    start(voice, 60, 127);  // v = 1.27
    EXPECT_FLOAT_EQ(voice.velocityFactor(PRSVoice::kTop), 1.27f * 1.27f * 0.8f + 0.1f);

    // Attack: velocity term plus the key-tracked pair, clamped to 0..1.
    context.params[8] = 0.3f;   // Lo
    context.params[76] = 0.5f;  // Hi
    context.params[62] = 0.5f;
    start(voice, 66, 20);  // v = 0.2: (0.4 - 0.2) * 0.5 + 0.4
    EXPECT_FLOAT_EQ(voice.attack(PRSVoice::kBase), 0.5f);
    start(voice, 66, 60);
    EXPECT_FLOAT_EQ(voice.attack(PRSVoice::kBase), (0.4f - 0.6f) * 0.5f + 0.4f);
    start(voice, 66, 127);  // (0.4 - 1.27) * 0.5 + 0.4 < 0
    EXPECT_EQ(voice.attack(PRSVoice::kBase), 0.0f);
    context.params[62] = 0.0f;
    context.params[8] = context.params[76] = 1.0f;
    context.params[63] = 5.0f;  // a stored value outside 0..1 counts as 1
    start(voice, 100, 1);       // v = 0.01
    EXPECT_FLOAT_EQ(voice.attack(PRSVoice::kBase), 1.0f);
    EXPECT_FLOAT_EQ(voice.attack(PRSVoice::kTop), 0.39f);
}

TEST_F(PRSVoiceTest, OctaveShiftsAndZoneTransposeSetTheSemitoneOffset) {
    PRSVoice voice(context);
    const struct {
        float parameter;
        int transpose;
    } shifts[] = {{0.0f, -24}, {0.12f, -24}, {0.13f, -12}, {0.32f, -12}, {0.33f, 0},
                  {0.71f, 0},  {0.72f, 12},  {0.91f, 12},  {0.92f, 24},  {1.0f, 24}};
    for (const auto& s : shifts) {
        context.params[52] = s.parameter;
        context.params[54] = 1.0f - s.parameter;
        start(voice, 70);
        EXPECT_EQ(context.requestedBaseTranspose, s.transpose) << s.parameter;
        EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 70 - 60 + s.transpose) << s.parameter;
    }
    context.params[52] = 0.5f;
    context.layers.baseTranspose = 5;  // the zone's own transpose
    start(voice, 70);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 15);
}

TEST_F(PRSVoiceTest, StartOffsetsStayBeforeTheLoopEnd) {
    SampleFile base, top;
    base.samples.assign(40000, 0);
    top.samples.assign(40000, 0);
    base.startFrame = top.startFrame = 100;
    context.setLayers(base, top, FilterFile{});
    const int loopEnd = 40000 - 12;
    PRSVoice voice(context);

    start(voice, 60);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 100);
    context.params[87] = context.params[88] = 1.0f;
    start(voice, 60);
    EXPECT_EQ(voice.renderState().position[kBaseLane], loopEnd - 100 - 2);
    EXPECT_EQ(voice.renderState().position[kTopLane], loopEnd - 100 - 12);
    context.params[87] = 0.0f;
    context.params[89] = 1.0f;
    voice.note = 60;
    voice.start(60, 0.5);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 100 + 32768);
    voice.start(60, 1.0);  // 65636 lies beyond m
    EXPECT_EQ(voice.renderState().position[kBaseLane], loopEnd - 100 - 2);
}

TEST_F(PRSVoiceTest, TableOfStartPointsIsReadOnlyWhenPresent) {
    SampleFile base;
    base.rootKey = 50;
    base.samples[0] = -3328;
    base.samples[3] = -3840;
    base.samples[77] = 0x4123;
    context.setLayers(base, SampleFile{}, FilterFile{});
    PRSVoice voice(context);
    start(voice, 77);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 0x123);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 50 - 8 + (77 & 7));

    // Markers in a file too short to hold an entry for the note: an ordinary start.
    base.samples.assign(40, 0);
    base.samples[0] = -3328;
    base.samples[3] = -3840;
    context.setLayers(base, SampleFile{}, FilterFile{});
    start(voice, 100);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 0);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 100 - 50);
}

TEST_F(PRSVoiceTest, PitchFollowsNoteTuneBendAndFineTune) {
    SampleFile top;
    top.fineTune = 60;  // ratio 1.01
    context.setLayers(SampleFile{}, top, FilterFile{});
    PRSVoice voice(context);
    const double semitone = std::log(2.0) / 12.0;
    const double scale = 722496915.0 / 44100.0;

    start(voice, 60);  // master tune 0.5 raises by 0.1 semitone
    EXPECT_FLOAT_EQ(voice.renderState().increment[kBaseLane],
                    static_cast<float>(std::exp(0.1 * semitone) * scale));
    EXPECT_NEAR(voice.renderState().increment[kTopLane], std::exp(0.1 * semitone) * 1.01 * scale,
                0.01);
    start(voice, 72);
    EXPECT_NEAR(voice.renderState().increment[kBaseLane], std::exp(12.1 * semitone) * scale, 0.01);
    voice.pitchBend = 1.0;
    voice.updateControlBlock();
    EXPECT_NEAR(voice.renderState().increment[kBaseLane], std::exp(15.1 * semitone) * scale, 0.01);
    context.period = 1.0 / 48000.0;
    start(voice, 60);
    EXPECT_NEAR(voice.renderState().increment[kBaseLane],
                std::exp(3.1 * semitone) * 722496915.0 / 48000.0, 0.01);
}

TEST_F(PRSVoiceTest, AttackCodesAndEnvelopeStages) {
    PRSVoice voice(context);
    start(voice, 60);
    EXPECT_EQ(voice.envelopeMode(), PRSVoice::kHeld);  // attack rounds to 0: none
    EXPECT_EQ(voice.blockLength(), PRSVoice::kFirstBlockLength);

    context.params[8] = context.params[76] = 0.01f;  // rounds to 1: a short attack from 0.2
    context.params[12] = context.params[79] = 0.5f;  // a long attack from 0
    start(voice, 60);
    EXPECT_EQ(voice.envelopeMode() & PRSVoice::kBaseAttack, 0);  // over at the first update
    EXPECT_NE(voice.envelopeMode() & PRSVoice::kTopAttack, 0);
    EXPECT_LT(voice.envelopeLevel(PRSVoice::kTop), 0.99f);
    EXPECT_GT(voice.envelopeLevel(PRSVoice::kBase), 0.99f);

    const float topLevel = voice.envelopeLevel(PRSVoice::kTop);
    voice.startRelease(0.0);  // a release during the attack falls from the level reached
    EXPECT_EQ(voice.envelopeMode(), 0);
    voice.updateControlBlock();
    EXPECT_LE(voice.envelopeLevel(PRSVoice::kTop), topLevel);
    voice.steal();
    EXPECT_EQ(voice.envelopeMode(), PRSVoice::kStolen);
}

TEST_F(PRSVoiceTest, ReleasedVoiceFadesOutAndFinishes) {
    context.params[10] = context.params[77] = 1.0f;  // full sustain
    context.params[14] = context.params[80] = 1.0f;
    context.params[11] = context.params[78] = 0.5f;  // release about 290 ms
    context.params[15] = context.params[81] = 0.5f;
    PRSVoice released(context), stolen(context);
    start(released, 60);
    start(stolen, 60);
    Output out;
    render(released, out, {5000});
    render(stolen, out, {5000});
    EXPECT_EQ(released.finishedBits(), 0);

    released.startRelease(0.0);
    stolen.steal();  // Lo release above 0.1: the fast rate 0.1, about 16 ms
    const int releasedFrames = renderUntilFinished(released, out, 100000);
    const int stolenFrames = renderUntilFinished(stolen, out, 100000);
    EXPECT_EQ(released.state, VoiceState::Finished);
    EXPECT_EQ(stolen.state, VoiceState::Finished);
    EXPECT_GT(releasedFrames, 5000);  // 0.93^n below 0.0001 after about 6300 frames
    EXPECT_LT(stolenFrames, 3 * 512 + 700);
    EXPECT_EQ(released.finishedBits(),
              PRSVoice::kBaseFaded | PRSVoice::kTopFaded | PRSVoice::kFadeToSilence);

    Output after;  // a finished voice adds nothing
    render(released, after, {256});
    for (float v : after.left) ASSERT_EQ(v, 0.0f);
}

TEST_F(PRSVoiceTest, PanFollowsParameterAndSpread) {
    context.params[58] = 0.0f;
    context.params[86] = 0.3f;
    PRSVoice voice(context);
    start(voice, 60);
    EXPECT_FLOAT_EQ(voice.renderState().pan[1], 0.3f);
    EXPECT_FLOAT_EQ(voice.renderState().pan[0], 0.7f);
    context.params[86] = 0.8f;  // ramps over the next block
    Output out;
    render(voice, out, {200});  // the first block ends; the next computes the new target
    render(voice, out, {512});
    EXPECT_NEAR(voice.renderState().pan[1], 0.8f, 1e-5f);

    context.params[58] = 1.0f;
    engineRandSeed(3);
    float lowest = 1.0f, highest = -1.0f;
    for (int i = 0; i < 50; ++i) {
        start(voice, 60);
        lowest = std::min(lowest, voice.randomPan());
        highest = std::max(highest, voice.randomPan());
        EXPECT_GE(voice.renderState().pan[1], 0.0f);
        EXPECT_LE(voice.renderState().pan[1], 1.0f);
    }
    EXPECT_LT(lowest, -0.3f);
    EXPECT_GT(highest, 0.3f);
}

TEST_F(PRSVoiceTest, NoteWithoutDataIsRefusedAndHoldsNothing) {
    PRSVoice voice(context);
    start(voice, 60);
    EXPECT_EQ(voice.state, VoiceState::Playing);
    EXPECT_EQ(context.list().count(), 1);
    PResource* base = context.layers.base;
    EXPECT_EQ(base->references(), 1);

    // An empty slot: the filter table names a file that doesn't exist.
    context.layers.filterA = PResourceTable::shared().findOrCreate("L-missing.raw", true, true);
    PResourceTable::shared().load(context.layers.filterA);
    start(voice, 60);
    EXPECT_EQ(voice.state, VoiceState::Finished);
    EXPECT_EQ(context.list().count(), 0);
    EXPECT_EQ(base->references(), 0);
    Output out;
    render(voice, out, {64});
    for (float v : out.left) ASSERT_EQ(v, 0.0f);
}

TEST_F(PRSVoiceTest, OldFormatLayerStaysSilent) {
    SampleFile loud, silent;
    loud.version = 9;
    for (auto& v : loud.samples) v = 20000;
    context.setLayers(loud, silent, FilterFile{});
    PRSVoice voice(context);
    start(voice, 60);
    EXPECT_EQ(voice.state, VoiceState::Playing);
    EXPECT_EQ(voice.renderState().increment[kBaseLane], 0.0f);
    Output out;
    render(voice, out, {2000});
    for (float v : out.left) ASSERT_LT(std::fabs(v), 1e-6f);

    loud.version = 10;
    context.setLayers(loud, silent, FilterFile{});
    start(voice, 60);
    Output audible;
    render(voice, audible, {2000});
    EXPECT_GT(std::fabs(audible.left[1000]), 1e-3f);
}

TEST_F(PRSVoiceTest, BlocksSplitAnywhereGiveTheSameSound) {
    SampleFile base, top;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> value(-20000, 20000);
    for (auto& v : base.samples) v = static_cast<std::int16_t>(value(random));
    for (auto& v : top.samples) v = static_cast<std::int16_t>(value(random));
    base.loopStart = top.loopStart = 1000;
    FilterFile filter;
    filter.frames.resize(64 * 4);
    for (int i = 64; i < 256; ++i) filter.frames[i] = filter.frames[i % 64];
    context.setLayers(base, top, filter);
    context.params[58] = 0.0f;

    for (int noMMXValue : {0, 1}) {
        setNoMMX(noMMXValue);
        PRSVoice whole(context), pieces(context);
        start(whole, 64);
        start(pieces, 64);
        EXPECT_EQ(pieces.blockLength(), 200);
        Output a, b;
        render(whole, a, {3000});
        render(pieces, b, {1, 17, 150, 300, 0, 512, 2020});
        EXPECT_EQ(a.left, b.left);
        EXPECT_EQ(a.right, b.right);
        EXPECT_EQ(pieces.blockLength(), 512);
        EXPECT_EQ(pieces.blockPosition(), (3000 - 200) % 512);
    }
    setNoMMX(0);
}

// Whatever the parameters and data, a voice's output is finite and never subnormal, and a voice
// reading silence adds no audible offset from the filter's bias.
TEST_F(PRSVoiceTest, OutputIsFiniteNormalAndSilenceStaysSilent) {
    std::mt19937 random(21);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> value(-32768, 32767);
    for (int trial = 0; trial < 12; ++trial) {
        SampleFile base, top;
        for (auto& v : base.samples) v = static_cast<std::int16_t>(value(random));
        for (auto& v : top.samples) v = static_cast<std::int16_t>(value(random));
        FilterFile filter;
        filter.gain = 255;
        filter.order = static_cast<std::int16_t>(1 + trial % 15);
        filter.frames.resize(64 * 3);
        for (auto& v : filter.frames) v = static_cast<std::int16_t>(value(random));
        context.setLayers(base, top, filter);
        for (int p = 0; p < 101; ++p) context.params[p] = unit(random);
        context.params[85] = 1.0f;

        PRSVoice voice(context);
        start(voice, 20 + trial * 8, 1 + trial * 10);
        Output out;
        render(voice, out, {6000});
        voice.startRelease(0.0);
        renderUntilFinished(voice, out, 2000000);
        for (float v : out.left) {
            ASSERT_TRUE(std::isfinite(v)) << trial;
            ASSERT_NE(std::fpclassify(v), FP_SUBNORMAL) << trial;
        }
    }

    context.setLayers(SampleFile{}, SampleFile{}, FilterFile{});
    for (int p = 0; p < 101; ++p) context.params[p] = 0.5f;
    context.params[10] = context.params[77] = context.params[14] = context.params[80] = 1.0f;
    PRSVoice voice(context);
    start(voice, 60, 127);
    Output out;
    render(voice, out, {44100});
    for (float v : out.left) ASSERT_LT(std::fabs(v), 1e-6f);  // below -120 dB
}

}  // namespace
