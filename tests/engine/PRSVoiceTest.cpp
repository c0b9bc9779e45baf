#include "engine/PRSVoice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "bundle/SoundChecks.h"
#include "engine/EngineRandom.h"
#include "engine/VoiceTestSupport.h"

namespace {

using voicetest::filterFile;
using voicetest::sampleFile;

struct Output {
    std::vector<float> left, right;
};

// A sine of 50 samples per cycle, looped over whole cycles.
std::vector<std::int16_t> sine() {
    std::vector<std::int16_t> samples(4012);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            static_cast<std::int16_t>(12000.0 * std::sin(i * 2.0 * std::numbers::pi / 50.0));
    return samples;
}

using soundcheck::rms;

class PRSVoiceTest : public ::testing::Test {
protected:
    PRSVoiceTest() { context.setLayers(sampleFile(), sampleFile(), filterFile()); }

    // What the manager does for a note-on.
    void start(int note, int velocity = 100) {
        voice.note = note;
        voice.velocityValue = velocity;
        voice.volume = 101.0 / 127.0;
        voice.state = VoiceState::Free;
        voice.start(note, velocity / 127.0);
        if (voice.state != VoiceState::Finished) voice.state = VoiceState::Playing;
    }
    // Renders in pieces of the given sizes, appending to `out`.
    static void render(PRSVoice& v, Output& out, std::initializer_list<int> pieces) {
        for (int frames : pieces) {
            const std::size_t at = out.left.size();
            out.left.resize(at + frames, 0.0f);
            out.right.resize(at + frames, 0.0f);
            float* outputs[2] = {out.left.data() + at, out.right.data() + at};
            v.render(nullptr, outputs, frames);
        }
    }
    static int renderUntilFinished(PRSVoice& v, Output& out) {
        int frames = 0;
        for (; v.state != VoiceState::Finished && frames < 2000000; frames += 512)
            render(v, out, {512});
        return frames;
    }
    float& param(int index) { return context.params[index]; }

    voicetest::FakeVoiceContext context;
    PRSVoice voice{context};
};

// Key tracking, heard in the Base level: with "Base Volume Lo" 0.2 and "Hi" 0.8, against the
// two swapped, note 36 plays the Lo value alone, 96 the Hi value, 66 their mean, and 24 goes on
// beyond Lo (key weights 1.2 and -0.2).
TEST_F(PRSVoiceTest, KeyTrackingBlendsLoAndHi) {
    context.setLayers(sampleFile(sine()), sampleFile(sine()), filterFile());
    param(6) = param(7) = 0.0f;  // Top silent
    for (auto [note, ratio] : {std::pair{36, 0.25}, {96, 4.0}, {66, 1.0}, {24, 0.08 / 0.92}}) {
        double level[2];
        for (int swapped = 0; swapped < 2; ++swapped) {
            param(5) = swapped ? 0.8f : 0.2f;
            param(4) = swapped ? 0.2f : 0.8f;
            start(note);
            Output out;
            render(voice, out, {4000});
            level[swapped] = rms(out.left, 2000, out.left.size());
        }
        EXPECT_NEAR(level[0] / level[1], ratio, ratio * 0.01) << note;
    }
}

TEST_F(PRSVoiceTest, OctaveShiftsAndZoneTransposeSetTheSemitoneOffset) {
    for (auto [octave, shift] : {std::pair{0.12f, -24},
                                 {0.13f, -12},
                                 {0.32f, -12},
                                 {0.33f, 0},
                                 {0.71f, 0},
                                 {0.72f, 12},
                                 {0.92f, 24}}) {
        param(52) = octave;
        start(70);
        EXPECT_EQ(context.requestedBaseTranspose, shift) << octave;
        EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 70 - 60 + shift) << octave;
    }
    param(52) = 0.5f;
    context.layers.baseTranspose = 5;  // the zone's own transpose
    start(70);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 15);
}

TEST_F(PRSVoiceTest, StartPositionsStayInsideTheData) {
    auto base = sampleFile(std::vector<std::int16_t>(40000)), top = base;
    base.set(4, 2, 100);  // start frame
    top.set(4, 2, 100);
    context.setLayers(base, top, filterFile());
    const int m = 40000 - 12 - 100;  // loop end - start frame
    param(87) = param(88) = 1.0f;
    start(60);
    EXPECT_EQ(voice.renderState().position[kBaseLane], m - 2);
    EXPECT_EQ(voice.renderState().position[kTopLane], m - 12);
    param(87) = 0.0f;
    param(89) = 1.0f;
    voice.start(60, 0.5);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 100 + 32768);
    voice.start(60, 1.0);
    EXPECT_EQ(voice.renderState().position[kBaseLane], m - 2);

    // A table of start points, read only where the data holds an entry for the note.
    param(89) = 0.0f;
    std::vector<std::int16_t> table(4000);
    table[0] = -3328;
    table[3] = -3840;
    table[77] = 0x4123;
    context.setLayers(sampleFile(table), sampleFile(), filterFile());
    start(77);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 0x123);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 60 - 8 + (77 & 7));
    table.resize(40);
    context.setLayers(sampleFile(table), sampleFile(), filterFile());
    start(100);
    EXPECT_EQ(voice.renderState().position[kBaseLane], 0);
    EXPECT_EQ(voice.semitoneOffset(PRSVoice::kBase), 100 - 60);
}

TEST_F(PRSVoiceTest, PitchFollowsNoteTuneBendAndFineTune) {
    auto top = sampleFile();
    top.set(3, 1, 60);  // fine tune: ratio 1.01
    context.setLayers(sampleFile(), top, filterFile());
    const double semitone = std::log(2.0) / 12.0, perFrame = 722496915.0 / 44100.0;
    start(72);  // master tune 0.5 adds 0.1 semitone
    EXPECT_NEAR(voice.renderState().increment[kBaseLane], std::exp(12.1 * semitone) * perFrame,
                0.01);
    EXPECT_NEAR(voice.renderState().increment[kTopLane],
                std::exp(12.1 * semitone) * 1.01 * perFrame, 0.01);
    voice.pitchBend = 1.0;
    voice.updateControlBlock();
    EXPECT_NEAR(voice.renderState().increment[kBaseLane], std::exp(15.1 * semitone) * perFrame,
                0.01);
}

TEST_F(PRSVoiceTest, EnvelopeStagesFromAttackToRelease) {
    start(60);
    EXPECT_EQ(voice.envelopeMode(), PRSVoice::kHeld);  // attack rounds to 0: none
    param(8) = param(76) = 0.01f;  // rounds to 1: from 0.2, over at the first update
    param(12) = param(79) = 0.5f;  // a long attack from 0
    start(60);
    EXPECT_EQ(voice.envelopeMode(), PRSVoice::kHeld | PRSVoice::kTopAttack);
    EXPECT_GT(voice.envelopeLevel(PRSVoice::kBase), 0.99f);
    const float topLevel = voice.envelopeLevel(PRSVoice::kTop);
    EXPECT_LT(topLevel, 0.99f);
    voice.startRelease(0.0);  // falls from the level the attack reached
    EXPECT_EQ(voice.envelopeMode(), 0);
    voice.updateControlBlock();
    EXPECT_LE(voice.envelopeLevel(PRSVoice::kTop), topLevel);
    voice.steal();
    EXPECT_EQ(voice.envelopeMode(), PRSVoice::kStolen);
}

TEST_F(PRSVoiceTest, ReleaseAndStealFadeOutThenFinish) {
    param(10) = param(77) = param(14) = param(80) = 1.0f;  // full sustain
    param(11) = param(78) = param(15) = param(81) = 0.5f;  // slow release
    PRSVoice stolen(context);
    start(60);
    stolen.volume = 0.8;
    stolen.start(60, 0.8);
    Output out;
    render(voice, out, {5000});
    render(stolen, out, {5000});
    EXPECT_EQ(voice.finishedBits(), 0);
    voice.startRelease(0.0);
    stolen.steal();  // Lo release above 0.1: the fast rate 0.1 instead
    EXPECT_GT(renderUntilFinished(voice, out), 5000);
    EXPECT_LT(renderUntilFinished(stolen, out), 3 * 512 + 700);
    EXPECT_EQ(voice.finishedBits(), 7);
    Output after;
    render(voice, after, {256});
    for (float v : after.left) ASSERT_EQ(v, 0.0f);
}

// "Pan" moved while a note sounds ramps over the next block; "Pan Spread" gives each note its own
// random offset.
TEST_F(PRSVoiceTest, PanFollowsParameterAndSpread) {
    param(58) = 0.0f;
    param(86) = 0.3f;
    start(60);
    param(86) = 0.8f;
    Output out;
    render(voice, out, {200, 512});
    EXPECT_NEAR(voice.renderState().pan[1], 0.8f, 1e-5f);
    param(58) = 1.0f;
    engineRandSeed(3);
    start(60);
    const float spread = voice.randomPan();
    start(60);
    EXPECT_NE(voice.randomPan(), spread);
    EXPECT_LE(std::fabs(spread), 0.5f);
}

TEST_F(PRSVoiceTest, MissingDataRefusesTheNoteAndOldFormatsAreSilent) {
    start(60);
    start(62);  // a restart keeps the voice's record in the sounding-voice list
    EXPECT_EQ(voice.state, VoiceState::Playing);
    EXPECT_EQ(context.list().count(), 1);
    voice.stopVoice();
    EXPECT_EQ(context.list().count(), 0);
    start(60);
    PResource* base = context.layers.base;
    EXPECT_EQ(base->references(), 1);
    context.layers.filterA = context.load("L", "", true);  // an empty file: no data
    start(60);
    EXPECT_EQ(voice.state, VoiceState::Finished);
    EXPECT_EQ(context.list().count(), 0);
    EXPECT_EQ(base->references(), 0);

    auto loud = sampleFile(std::vector<std::int16_t>(4000, 20000));
    loud.set(0, 1, 9);
    context.setLayers(loud, sampleFile(), filterFile());
    start(60);
    EXPECT_EQ(voice.state, VoiceState::Playing);
    Output out;
    render(voice, out, {2000});
    for (float v : out.left) ASSERT_LT(std::fabs(v), 1e-6f);
    loud.set(0, 1, 10);
    context.setLayers(loud, sampleFile(), filterFile());
    start(60);
    render(voice, out, {2000});
    EXPECT_GT(std::fabs(out.left[3000]), 1e-3f);
}

// The Filter LFO moves the filter position by its wave times its amount. With the wave held at
// +0.5 and at -0.5 and amount 0.5, the position is 0.74 +- 0.25: the note plays through the first
// and through the last of two frames, whose input gains are 1 and 0.25.
TEST_F(PRSVoiceTest, FilterLfoMovesTheFilterPosition) {
    auto filter = filterFile(2);
    for (int i = 0; i < 128; ++i) filter.values[i] = i == 10 ? 32767 : i == 74 ? 8192 : 0;
    context.setLayers(sampleFile(sine()), sampleFile(sine()), filter);
    param(0) = param(1) = 0.0f;   // no envelope amount
    param(2) = param(3) = 0.74f;  // filter offset
    param(44) = 0.5f;             // Filter LFO amount
    double level[2];
    for (int side = 0; side < 2; ++side) {
        std::fill(std::begin(context.lfoTable), std::end(context.lfoTable), side ? -0.5f : 0.5f);
        start(60);
        Output out;
        render(voice, out, {8000});
        level[side] = rms(out.left, 4000, out.left.size());
    }
    EXPECT_NEAR(level[0] / level[1], 4.0, 0.01);
}

// The neighbouring zone's filter is blended in by the zone's weight: the coefficients as a
// weighted mean, the output gain as the weighted mean of the squared gains (1 and 4 here).
TEST_F(PRSVoiceTest, NeighbourZoneFilterIsBlendedIn) {
    const auto filter = [](std::int16_t reflection, int gain) {
        auto f = filterFile();
        for (int j = 0; j < 10; ++j)
            f.values[j] = static_cast<std::int16_t>(j % 2 ? -reflection : reflection);
        f.set(1, 1, gain);
        return f;
    };
    const auto play = [&](const voicetest::RawFile& a, const voicetest::RawFile* b, float weight) {
        context.setLayers(sampleFile(sine()), sampleFile(sine()), a);
        context.layers.filterB = b ? context.load("L", b->bytes(64), true) : nullptr;
        context.layers.filterWeight = weight;
        start(60);
        Output out;
        render(voice, out, {4000});
        return out.left;
    };
    const auto neighbour = filter(0, 100);
    const std::vector<float> blended = play(filter(4000, 50), &neighbour, 0.75f);
    const std::vector<float> single = play(filter(3000, 50), nullptr, 1.0f);
    const double tolerance = 1e-3 * rms(single, 0, single.size());
    for (std::size_t i = 0; i < single.size(); ++i)
        ASSERT_NEAR(blended[i], 1.75f * single[i], tolerance) << i;
}

// Whatever the parameters and data, the output is finite and never subnormal; and a voice
// reading silence adds no audible offset from the filter's bias.
TEST_F(PRSVoiceTest, OutputIsFiniteNormalAndSilenceStaysSilent) {
    std::mt19937 random(21);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> value(-32768, 32767);
    for (int trial = 0; trial < 12; ++trial) {
        std::vector<std::int16_t> samples(4000);
        for (auto& v : samples) v = static_cast<std::int16_t>(value(random));
        auto filter = filterFile(3);
        filter.set(1, 1, 255);
        filter.set(38, 2, 1 + trial);
        for (auto& v : filter.values) v = static_cast<std::int16_t>(value(random));
        context.setLayers(sampleFile(samples), sampleFile(samples), filter);
        for (int p = 0; p < 101; ++p) param(p) = unit(random);
        start(20 + trial * 8, 1 + trial * 10);
        Output out;
        render(voice, out, {6000});
        voice.startRelease(0.0);
        renderUntilFinished(voice, out);
        for (float v : out.left) ASSERT_TRUE(std::isnormal(v) || v == 0.0f) << trial;
    }
    context.setLayers(sampleFile(), sampleFile(), filterFile());
    for (int p = 0; p < 101; ++p) param(p) = 0.5f;
    param(10) = param(77) = param(14) = param(80) = 1.0f;
    start(60, 127);
    Output out;
    render(voice, out, {44100});
    for (float v : out.left) ASSERT_LT(std::fabs(v), 1e-6f);  // below -120 dB
}

}  // namespace
