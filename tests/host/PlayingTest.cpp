// The instrument plays through VSTPluginMain: pitch, release, stealing, block-size invariance,
// the accumulating call, what leaves the plug-in (never NaN, Inf or subnormal; silence after the
// tails), the settings' kernel choice, the editor keyboard's notes, the host tempo and MIDI program
// changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

#include "bundle/SoundChecks.h"
#include "engine/PRSVoicer.h"
#include "host/PlayingPlugin.h"

namespace {

using playing::Instance;

using soundcheck::mean;
using soundcheck::peak;
using soundcheck::rms;

// Frames that are NaN, infinite or subnormal.
int badFrames(const std::vector<float>& x) {
    int bad = 0;
    for (float v : x) {
        const int c = std::fpclassify(v);
        if (c == FP_NAN || c == FP_INFINITE || c == FP_SUBNORMAL) ++bad;
    }
    return bad;
}

TEST(Playing, NotesSoundAtTheirPitchAtEveryHostRate) {
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        for (int note : {60, 69, 81}) {
            Instance instance(rate);
            ASSERT_TRUE(instance.loaded());
            std::vector<float> left, right;
            const auto second = static_cast<std::int64_t>(rate);
            instance.render(left, right, second, 512, {{0, note, true}});
            // The attack is over after a quarter second; the rest is a steady tone.
            const std::size_t from = left.size() / 4;
            EXPECT_GT(peak(left, from, left.size()), 1e-3) << rate << " Hz, note " << note;
            const double f = playing::fundamental(&left[from], left.size() - from, rate);
            EXPECT_NEAR(f, playing::expectedFrequency(note),
                        playing::expectedFrequency(note) * 0.003)
                << rate << " Hz, note " << note;
        }
    }
}

// A note is heard from the host frame its event names, at native and converted rates. The
// converter interpolates towards the engine frame that follows, so it hands the engine's stream
// on one engine frame late: at a converted rate the note starts hostRate / 44100 host frames
// (rounded) after its offset. One frame either side is allowed for whole engine frames.
TEST(Playing, NotesStartAtTheirFrameAtEveryHostRate) {
    for (float rate : {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f}) {
        const bool native = rate == 44100.0f || rate == 48000.0f;
        const double latency = native ? 0.0 : std::round(rate / 44100.0);
        for (int offset : {0, 137, 499}) {
            Instance instance(rate, 500);
            ASSERT_TRUE(instance.loaded());
            instance.host().setParameter(58, 0.0f);  // "Pan Spread" off: the same level each time
            std::vector<float> left, right;
            instance.render(left, right, 2500, 500, {{1500 + offset, 60, true}});
            const auto onset = std::find_if(left.begin(), left.end(),
                                            [](float v) { return std::fabs(v) > 1e-6f; }) -
                               left.begin();
            EXPECT_NEAR(static_cast<double>(onset), 1500 + offset + latency, 1.0)
                << rate << " Hz, offset " << offset;
        }
    }
}

TEST(Playing, AReleasedNoteEndsFreesItsVoiceAndLeavesSilence) {
    Instance instance;
    ASSERT_TRUE(instance.loaded());
    std::vector<float> left, right;
    instance.render(left, right, 11025, 512, {{0, 64, true}});
    EXPECT_EQ(instance.plugin().engine().voicer()->activeCount(), 1);
    EXPECT_GT(peak(left, 0, 11025), 0.01);
    instance.render(left, right, 8 * 44100, 512, {{0, 64, false}});
    EXPECT_EQ(instance.plugin().engine().voicer()->activeCount(), 0);
    EXPECT_EQ(instance.plugin().engine().sounding().count(), 0);
    // The last second: no tone and no DC left by the converter's or the voices' offsets.
    const std::size_t from = left.size() - 44100;
    EXPECT_LT(peak(left, from, left.size()), 1e-6);
    EXPECT_LT(std::fabs(mean(right, from, right.size())), 1e-7);
    EXPECT_EQ(badFrames(left) + badFrames(right), 0);
}

// Both effect units with feedback and a wet mix: their tails die away to silence, with no DC.
TEST(Playing, EffectTailsDieAwayToSilence) {
    for (float type : {0.0f, 1.0f}) {
        Instance instance(48000.0f);
        ASSERT_TRUE(instance.loaded());
        instance.host().setParameter(93, type);  // "FX Type": delay or filter sweep
        instance.host().setParameter(66, 0.3f);  // "Fx Delay"
        instance.host().setParameter(67, 0.5f);  // "Fx Feedback"
        instance.host().setParameter(71, 0.5f);  // "Fx Mix"
        std::vector<float> left, right;
        instance.render(left, right, 12000, 512, {{0, 60, true}, {6000, 67, true}});
        const double loud = peak(left, 0, left.size());
        EXPECT_GT(loud, 0.01);
        instance.render(left, right, 10 * 48000, 512, {{0, 60, false}, {0, 67, false}});
        const std::size_t from = left.size() - 48000;
        EXPECT_LT(peak(left, from, left.size()), 1e-6) << "type " << type;
        EXPECT_LT(peak(right, from, right.size()), 1e-6) << "type " << type;
        EXPECT_LT(std::fabs(mean(left, from, left.size())), 1e-7) << "type " << type;
        EXPECT_EQ(badFrames(left) + badFrames(right), 0);
    }
}

// Of the 64 voices at most half play (the other half carry stolen voices while they fade), or
// fewer when "Voices" asks for fewer; beyond that the oldest notes are stolen.
TEST(Playing, BeyondThePolyphonyTheOldestNotesAreStolen) {
    for (auto [voices, playable] : {std::pair{1.0f, 32}, std::pair{0.24f, 16}}) {
        Instance instance;
        ASSERT_TRUE(instance.loaded());
        instance.host().setParameter(PRSVoicer::kVoicesParam, voices);
        std::vector<Instance::NoteEvent> notes;
        for (int i = 0; i < 70; ++i) notes.push_back({i * 100, 30 + i, true});
        std::vector<float> left, right;
        instance.render(left, right, 7000 + 2000, 512, notes);
        const PRSVoicer& voicer = *instance.plugin().engine().voicer();
        std::vector<int> playing;
        for (Voice* v = voicer.activeHead(); v; v = v->next) playing.push_back(v->note);
        std::sort(playing.begin(), playing.end());
        ASSERT_EQ(playing.size(), static_cast<std::size_t>(playable)) << voices;
        EXPECT_EQ(playing.front(), 100 - playable) << voices;
        EXPECT_EQ(playing.back(), 99) << voices;
        EXPECT_EQ(badFrames(left) + badFrames(right), 0);
    }
}

TEST(Playing, HostBlockSizesDoNotChangeTheResult) {
    const std::vector<Instance::NoteEvent> notes = {
        {0, 60, true},      {777, 64, true},   {778, 67, true},    {20001, 64, false},
        {30000, 60, false}, {30000, 72, true}, {51234, 67, false}, {60000, 72, false}};
    constexpr std::int64_t kFrames = 70000;
    std::vector<float> referenceLeft, referenceRight;
    {
        Instance instance;
        ASSERT_TRUE(instance.loaded());
        instance.render(referenceLeft, referenceRight, kFrames, 512, notes);
    }
    ASSERT_GT(peak(referenceLeft, 0, referenceLeft.size()), 0.01);
    for (std::int32_t block : {1, 17, 64, 4096, 20000}) {
        Instance instance(44100.0f, 512);  // 20000 is larger than the announced block size
        ASSERT_TRUE(instance.loaded());
        std::vector<float> left, right;
        instance.render(left, right, kFrames, block, notes);
        EXPECT_EQ(left, referenceLeft) << "block " << block;
        EXPECT_EQ(right, referenceRight) << "block " << block;
    }
}

TEST(Playing, ConvertedRatesTakeAnyBlockSizeWithoutGaps) {
    for (float rate : {96000.0f, 22050.0f}) {
        Instance instance(rate, 256);
        ASSERT_TRUE(instance.loaded());
        instance.host().setParameter(93, 1.0f);  // the sweep, whose LFO works in 8192-frame pieces
        std::vector<float> left, right;
        // Blocks beyond every buffer: the converter's, the sweep's, the announced block size.
        instance.render(left, right, static_cast<std::int64_t>(rate), 30000, {{0, 57, true}});
        const std::size_t from = left.size() / 4;
        const double f = playing::fundamental(&left[from], left.size() - from, rate);
        EXPECT_NEAR(f, playing::expectedFrequency(57), playing::expectedFrequency(57) * 0.003)
            << rate;
        // A steady tone has no step anywhere: neighbouring frames stay close.
        EXPECT_LT(soundcheck::largestStep(left, from, left.size()),
                  0.5f * peak(left, from, left.size()))
            << rate;
        EXPECT_EQ(badFrames(left) + badFrames(right), 0);
    }
}

TEST(Playing, TheAccumulatingCallAddsWhatTheReplacingCallWrites) {
    const std::vector<Instance::NoteEvent> notes = {{0, 62, true}, {300, 69, true}};
    Instance replacing, adding;
    ASSERT_TRUE(replacing.loaded());
    ASSERT_TRUE(adding.loaded());
    std::vector<float> left, right;
    replacing.render(left, right, 4096, 512, notes);
    std::vector<float> sumLeft(4096, 0.25f), sumRight(4096, -0.5f);
    for (const auto& e : notes) adding.host().noteOn(0, e.note, 100, static_cast<int>(e.frame));
    adding.host().process(sumLeft.data(), sumRight.data(), 4096, true);
    for (std::size_t i = 0; i < left.size(); ++i) {
        ASSERT_FLOAT_EQ(sumLeft[i], left[i] + 0.25f) << i;
        ASSERT_FLOAT_EQ(sumRight[i], right[i] - 0.5f) << i;
    }
}

// Every parameter at its extremes and at random values, both effect units, with chords and
// controller sweeps: nothing but finite normal numbers (or zero) comes out, and after the
// notes end and the tails die away the output is silent.
TEST(Playing, ExtremeParametersNeverLetNaNInfOrSubnormalsOut) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int setting = 0; setting < 4; ++setting) {
        Instance instance;
        ASSERT_TRUE(instance.loaded());
        for (std::int32_t p = 0; p < kNumParams; ++p) {
            const float v = setting == 0 ? 0.0f : setting == 1 ? 1.0f : unit(random);
            if (p != PRSVoicer::kMasterVolumeParam && p != 91) instance.host().setParameter(p, v);
        }
        instance.host().setParameter(91, 0.0f);                       // effects on
        instance.host().setParameter(93, setting % 2 ? 1.0f : 0.0f);  // sweep or delay
        std::vector<float> left, right;
        std::vector<Instance::NoteEvent> notes;
        for (int n = 0; n < 6; ++n) {
            notes.push_back({n * 3000, 24 + 17 * n, true});
            notes.push_back({30000 + n * 50, 24 + 17 * n, false});
        }
        instance.render(left, right, 40000, 333, notes);
        for (int cc = 0; cc < 128; cc += 8) {
            instance.host().sendMidi(0xB0, 1, static_cast<std::uint8_t>(cc));
            instance.host().sendMidi(0xE0, 0, static_cast<std::uint8_t>(cc));
            instance.render(left, right, 1000, 1000);
        }
        EXPECT_EQ(badFrames(left) + badFrames(right), 0) << "setting " << setting;
    }
}

// The kernel settings reach the engine: "NoMMX" selects the portable kernels, which play the same
// note in tune, rounded differently from the per-voice SSE2 kernel ("VoiceLanes=0"); the default
// voice lanes step as the portable kernel does and differ from it only by float rounding.
TEST(Playing, TheKernelSettingsReachTheKernels) {
    std::vector<float> voice[2], portable[2], lanes[2];
    Instance voiceKernels(44100.0f, 512, "[Settings]\nNoMMX=0\nVoiceLanes=0\n");
    Instance portableKernels(44100.0f, 512, "[Settings]\nNoMMX=1\n");
    Instance laneKernels(44100.0f, 512, "[Settings]\nNoMMX=0\n");
    ASSERT_TRUE(voiceKernels.loaded() && portableKernels.loaded() && laneKernels.loaded());
    for (auto [instance, out] :
         {std::pair{&voiceKernels, voice}, {&portableKernels, portable}, {&laneKernels, lanes}})
        instance->render(out[0], out[1], 22050, 512, {{0, 65, true}});
    EXPECT_NE(voice[0], portable[0]);
    const std::size_t from = 11025;
    EXPECT_NEAR(playing::fundamental(&portable[0][from], from, 44100.0),
                playing::expectedFrequency(65), playing::expectedFrequency(65) * 0.003);
    auto difference = [](const std::vector<float>& a, const std::vector<float>& b) {
        double worst = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i)
            worst = std::max(worst, std::fabs(static_cast<double>(a[i] - b[i])));
        return worst / peak(a, 0, a.size());
    };
    EXPECT_LT(difference(portable[0], voice[0]), 0.01);
    EXPECT_LT(difference(portable[0], lanes[0]), 1e-5);
}

TEST(Playing, KeyboardNotesPlayAndRelease) {
    Instance instance;
    ASSERT_TRUE(instance.loaded());
    ASSERT_TRUE(instance.plugin().queueKeyboardNote(0, 72, 100, true));
    std::vector<float> left, right;
    instance.render(left, right, 22050, 512);
    EXPECT_EQ(instance.plugin().engine().voicer()->activeCount(), 1);
    EXPECT_EQ(instance.plugin().keyboardNotes().size(), 0u);
    const std::size_t from = left.size() / 2;
    EXPECT_NEAR(playing::fundamental(&left[from], left.size() - from, 44100.0),
                playing::expectedFrequency(72), playing::expectedFrequency(72) * 0.003);
    ASSERT_TRUE(instance.plugin().queueKeyboardNote(0, 72, 0, false));
    instance.render(left, right, 8 * 44100, 512);
    EXPECT_EQ(instance.plugin().engine().voicer()->activeCount(), 0);
}

// The voices keep the last valid tempo when the host stops reporting one.
TEST(Playing, TheHostTempoReachesTheEngineWhenValid) {
    Instance instance;
    ASSERT_TRUE(instance.loaded());
    std::vector<float> left, right;
    instance.host().setTempo(137.0);
    instance.render(left, right, 64, 64);
    EXPECT_EQ(instance.plugin().hostTempo(), 137.0);
    instance.host().setTempo(90.0, false);
    instance.render(left, right, 64, 64);
    EXPECT_EQ(instance.plugin().hostTempo(), 137.0);
    instance.host().setTempo(90.0);
    instance.host().setTimeInfoAvailable(false);
    instance.render(left, right, 64, 64);
    EXPECT_EQ(instance.plugin().hostTempo(), 137.0);
    instance.host().setTimeInfoAvailable(true);
    instance.render(left, right, 64, 64);
    EXPECT_EQ(instance.plugin().hostTempo(), 90.0);
}

// Calls the host's idle until `done` holds; the bound only guards against hanging.
template <class Condition>
bool idleUntil(VstHost& host, Condition done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        host.idle();
        std::this_thread::yield();
    }
    return true;
}

// A MIDI program change selects that preset of the current program at a later idle call (resume
// has just applied program 0, so the throttle holds it back for a while), and one that the
// throttle holds back is applied later, not lost.
TEST(Playing, MidiProgramChangesSelectPresetsAtIdle) {
    Instance instance;
    ASSERT_TRUE(instance.loaded());
    const auto preset = [&] { return instance.plugin().currentProgram().currentPreset(); };
    std::vector<float> left, right;
    instance.host().sendMidi(0xC0, 5, 0);
    instance.render(left, right, 64, 64);
    EXPECT_EQ(preset(), 0);  // not on the audio thread
    EXPECT_TRUE(idleUntil(instance.host(), [&] { return preset() == 5; }));
    instance.host().sendMidi(0xC0, 9, 0);
    instance.render(left, right, 64, 64);
    instance.host().idle();  // within 1000 ms of the last application: held back
    EXPECT_EQ(preset(), 5);
    EXPECT_TRUE(idleUntil(instance.host(), [&] { return preset() == 9; }));
}

// A note played with the given parameters on top of a steady sound: full sustain, no pan
// spread, no effects.
struct Played {
    std::vector<float> left, right;
};
Played play(std::initializer_list<std::pair<int, float>> parameters, int note, int velocity,
            std::int64_t frames) {
    Played out;
    Instance instance;
    EXPECT_TRUE(instance.loaded());
    if (!instance.loaded()) return out;
    for (auto [index, value] :
         {std::pair{10, 1.0f}, {77, 1.0f}, {14, 1.0f}, {80, 1.0f}, {58, 0.0f}, {91, 1.0f}})
        instance.host().setParameter(index, value);
    for (auto [index, value] : parameters) instance.host().setParameter(index, value);
    instance.render(out.left, out.right, frames, 512, {{0, note, true, velocity}});
    return out;
}

// The largest over the smallest of a measure taken over each control block of a note started at
// frame 0 (200 frames, then 512 each), from the fourth block on.
template <class Measure>
double swing(const std::vector<float>& x, Measure measure) {
    double low = 1e30, high = 0.0;
    for (std::size_t at = 200 + 3 * 512; at + 512 <= x.size(); at += 512) {
        const double v = measure(at, at + 512);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return high / low;
}

// The pitch LFO at full amount moves the pitch by 3 semitones (square wave: 0 or +3); the Base
// LFO at amount 0.5 moves the Base level 0.5 by +-0.25, so from 0.25 to 0.75.
TEST(Playing, PitchAndLevelLfosSwingByTheirAmounts) {
    const Played pitch = play({{49, 1.0f}, {50, 0.0f}, {47, 0.3f}}, 84, 100, 66150);
    EXPECT_NEAR(swing(pitch.left,
                      [&](std::size_t from, std::size_t to) {
                          return playing::fundamental(&pitch.left[from], to - from, 44100.0);
                      }),
                std::pow(2.0, 3.0 / 12.0), 0.001);
    const Played level =
        play({{34, 0.5f}, {32, 0.5f}, {4, 0.5f}, {5, 0.5f}, {6, 0.0f}, {7, 0.0f}}, 84, 100, 66150);
    EXPECT_NEAR(swing(level.left,
                      [&](std::size_t from, std::size_t to) { return peak(level.left, from, to); }),
                3.0, 0.05);
}

// Velocity reaches the level as the square of velocity / 100 when "Velocity Base" and "Velocity
// Top" are 1, and not at all when they are 0; "Pan" shares the level linearly between the
// channels.
TEST(Playing, VelocityAndPanSetTheLevels) {
    const auto level = [](const std::vector<float>& x) { return rms(x, x.size() / 2, x.size()); };
    for (auto [sensitivity, ratio] : {std::pair{1.0f, 1.27 * 1.27 / 0.25}, {0.0f, 1.0}}) {
        const Played loud = play({{59, sensitivity}, {60, sensitivity}}, 60, 127, 22050);
        const Played soft = play({{59, sensitivity}, {60, sensitivity}}, 60, 50, 22050);
        EXPECT_NEAR(level(loud.left) / level(soft.left), ratio, ratio * 0.002) << sensitivity;
    }
    for (float pan : {0.0f, 0.25f, 1.0f}) {
        const Played panned = play({{86, pan}}, 60, 100, 22050);
        const double left = level(panned.left), right = level(panned.right);
        EXPECT_NEAR(left / (left + right), 1.0 - pan, 1e-3) << pan;
    }
}

}  // namespace
