// The effect units: delay lengths, caps and echo pattern, tempo sync, feedback clamp, changes
// applied to the block they arrive with, sweep panning, long blocks, and quiet tails without
// denormals; the exclusion that keeps the audio thread out of a unit being rebuilt.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <tuple>
#include <vector>

#include "engine/AudioExclusion.h"
#include "engine/DelayUnit.h"
#include "engine/EffectsSection.h"
#include "engine/FilterSweepUnit.h"

namespace {

struct Stereo {
    explicit Stereo(size_t n, float value = 0.0f) : left(n, value), right(n, value) {}
    std::vector<float> left, right;
};

// Runs `frames` of input through a unit block by block; answers the output.
template <class Unit>
Stereo run(Unit& unit, Stereo input, int32_t block, double tempo = 0.0) {
    Stereo out(input.left.size());
    for (size_t start = 0; start < input.left.size(); start += block) {
        int32_t n = static_cast<int32_t>(std::min<size_t>(block, input.left.size() - start));
        float* in[2] = {input.left.data() + start, input.right.data() + start};
        float* o[2] = {out.left.data() + start, out.right.data() + start};
        unit.process(in, o, n, tempo);
    }
    return out;
}

Stereo impulse(size_t n) {
    Stereo s(n);
    s.left[0] = s.right[0] = 1.0f;
    return s;
}

// A delay with wet signal only and the given length, applied by a short block.
void prepare(DelayUnit& delay, float value) {
    delay.setWet(1.0f);
    delay.setDry(0.0f);
    delay.setDelay(value);
    run(delay, Stereo(16), 16);
}

bool quietAndNormal(const std::vector<float>& v, float limit) {
    for (float x : v)
        if (!std::isfinite(x) || std::fabs(x) > limit || std::fpclassify(x) == FP_SUBNORMAL)
            return false;
    return true;
}

TEST(DelayUnit, LengthsAndCaps) {
    DelayUnit delay;
    EXPECT_EQ(delay.bufferLength(), 88200);
    prepare(delay, 1.0f);
    EXPECT_EQ(delay.delaySamples(), 88198);
    prepare(delay, 0.25f);
    EXPECT_EQ(delay.delaySamples(), 22050);
    delay.setSampleRate(48000.0);
    EXPECT_EQ(delay.bufferLength(), 96000);
    EXPECT_EQ(delay.delaySamples(), 24000);  // the normalised delay is kept
    DelayUnit shorter(500.0f);
    EXPECT_EQ(shorter.bufferLength(), 22050);
}

TEST(DelayUnit, EchoesAlternateBetweenTaps) {
    DelayUnit delay;
    prepare(delay, 100.0f / 88200.0f + 1e-7f);
    ASSERT_EQ(delay.delaySamples(), 100);
    delay.setFeedback(0.5f);
    run(delay, Stereo(64), 64);  // lets the feedback ramp reach its target
    Stereo out = run(delay, impulse(400), 64);
    // Cross 0.5: every echo in both outputs; a at 1 and 3 delays, b at 2, fed back at 3.
    EXPECT_NEAR(out.left[100], 0.5f, 1e-6);
    EXPECT_NEAR(out.right[200], 0.5f, 1e-6);
    EXPECT_NEAR(out.left[300], 0.25f, 1e-6);
    EXPECT_NEAR(out.left[150], 0.0f, 1e-6);

    delay.setCross(1.0f);  // odd echoes right, even ones left
    delay.clear();
    run(delay, Stereo(16), 16);
    out = run(delay, impulse(400), 64);
    EXPECT_NEAR(out.right[100], 1.0f, 1e-6);
    EXPECT_NEAR(out.left[100], 0.0f, 1e-6);
    EXPECT_NEAR(out.left[200], 1.0f, 1e-6);
    EXPECT_NEAR(out.right[200], 0.0f, 1e-6);
}

TEST(DelayUnit, TempoSync) {
    DelayUnit delay;
    prepare(delay, 0.5f);
    delay.setBeats(0.5);
    run(delay, Stereo(16), 16, 120.0);
    Stereo out = run(delay, impulse(12000), 512, 120.0);
    EXPECT_NEAR(out.left[11025], 0.5f, 1e-6);
    EXPECT_NEAR(out.left[11024], 0.0f, 1e-6);
    delay.setDelay(0.99f);  // a normalised delay picks its own beats until the sync sets them
    EXPECT_EQ(delay.beats(), 4.0);
}

// The longest feedback (1.0 reaches the unit as 0.999) recirculates for long but stays bounded;
// a damped loop's tail falls silent without passing through subnormal numbers.
TEST(DelayUnit, FeedbackStaysBoundedAndTailsEndQuiet) {
    for (auto [feedback, damping, tailLimit] :
         {std::tuple{1.0f, 0.0f, 2.0f}, {0.6f, 0.7f, 1e-6f}}) {
        DelayUnit delay;
        delay.setFeedback(feedback);
        delay.setDamping(damping);
        prepare(delay, 0.01f);
        Stereo signal(44100 * 8);
        for (int i = 0; i < 4410; ++i) signal.left[i] = signal.right[i] = std::sin(i * 0.02f);
        Stereo out = run(delay, signal, 4096);
        EXPECT_TRUE(quietAndNormal(out.left, 2.0f)) << feedback;
        EXPECT_TRUE(quietAndNormal(out.right, 2.0f)) << feedback;
        std::vector<float> tail(out.left.end() - 44100, out.left.end());
        EXPECT_TRUE(quietAndNormal(tail, tailLimit)) << feedback;
    }
}

// A change is carried out at the start of the block it arrives with and that block is
// processed: half dry at once, and the impulse it carries echoes at the new length.
TEST(DelayUnit, ChangesApplyToTheBlockTheyArriveWith) {
    const struct {
        const char* name;
        void (*change)(DelayUnit&);
        int echoAt;
    } cases[] = {
        {"length", [](DelayUnit& d) { d.setDelay(200.0f / 88200.0f + 1e-7f); }, 200},
        {"beats", [](DelayUnit& d) { d.setBeats(0.25); }, 100},
        {"clear", [](DelayUnit& d) { d.clear(); }, 100},
    };
    for (const auto& c : cases) {
        DelayUnit delay;
        prepare(delay, 100.0f / 88200.0f + 1e-7f);
        delay.setWet(0.5f);
        delay.setDry(0.5f);
        c.change(delay);
        Stereo out = run(delay, impulse(400), 400);
        EXPECT_EQ(out.left[0], 0.5f) << c.name;
        EXPECT_NEAR(out.left[c.echoAt], 0.25f, 1e-6) << c.name;
    }
    // A cleared line is silent from the clearing block on.
    DelayUnit delay;
    prepare(delay, 0.01f);
    run(delay, Stereo(4000, 0.3f), 512);
    delay.clear();
    Stereo out = run(delay, Stereo(4000), 512);
    EXPECT_TRUE(quietAndNormal(out.left, 1e-6f));
}

TEST(FilterSweepUnit, PanDepthSwingsTheWetSignal) {
    FilterSweepUnit centred;
    centred.setRate(2.0f);
    Stereo constant(44100, 0.1f);
    Stereo out = run(centred, constant, 512);
    for (size_t i = 1000; i < out.left.size(); i += 97) EXPECT_EQ(out.left[i], out.right[i]);

    FilterSweepUnit swinging;
    swinging.setRate(2.0f);
    swinging.setPanDepth(1.0f);
    out = run(swinging, constant, 512);
    float lowest = 1, highest = 0;
    for (size_t i = 4410; i < out.left.size(); ++i) {
        float share = out.right[i] / (out.left[i] + out.right[i]);
        lowest = std::min(lowest, share);
        highest = std::max(highest, share);
    }
    EXPECT_LT(lowest, 0.02f);
    EXPECT_GT(highest, 0.98f);
}

TEST(FilterSweepUnit, LongBlocksMatchShortOnes) {
    Stereo noise(30000);
    for (int i = 0; i < 30000; ++i) {
        noise.left[i] = 0.3f * std::sin(i * 0.11f);
        noise.right[i] = 0.3f * std::sin(i * 0.07f);
    }
    FilterSweepUnit a, b;
    for (FilterSweepUnit* u : {&a, &b}) {
        u->setRate(3.0f);
        u->setPanDepth(0.5f);
        u->setSmoothing(0.3f);
        u->setRange(440.0f, 2600.0f);
    }
    Stereo whole = run(a, noise, 30000);
    Stereo pieces = run(b, noise, 1000);
    for (size_t i = 0; i < whole.left.size(); ++i) {
        ASSERT_NEAR(whole.left[i], pieces.left[i], 1e-5) << i;
        ASSERT_NEAR(whole.right[i], pieces.right[i], 1e-5) << i;
    }
}

TEST(FilterSweepUnit, ResetAppliesToItsBlockAndTailsEndQuiet) {
    FilterSweepUnit sweep, fresh;
    Stereo signal(4096, 0.2f);
    run(sweep, Stereo(4096), 512);
    sweep.reset();  // the block that follows sounds as from a new unit
    Stereo out = run(sweep, signal, 4096);
    Stereo expected = run(fresh, signal, 4096);
    for (size_t i = 0; i < out.left.size(); i += 64)
        ASSERT_NEAR(out.left[i], expected.left[i], 1e-5);

    Stereo after = run(sweep, Stereo(44100 * 4), 512);  // default feedback 0.7
    std::vector<float> end(after.left.end() - 4410, after.left.end());
    EXPECT_TRUE(quietAndNormal(end, 1e-6f));

    // The longest feedback rings for many seconds through the stages' group delay but stays
    // bounded and finite.
    sweep.setFeedback(1.0f);
    after = run(sweep, signal, 512);
    after = run(sweep, Stereo(44100 * 4), 512);
    EXPECT_TRUE(quietAndNormal(after.left, 20.0f));
    EXPECT_TRUE(quietAndNormal(after.right, 20.0f));
}

TEST(FilterSweepUnit, SynchronisedRateFollowsTheTempo) {
    FilterSweepUnit sweep;
    sweep.setRate(0.0f);  // "1/1": one sweep in 4 beats
    run(sweep, Stereo(64), 64, 120.0);
    EXPECT_NEAR(sweep.lfo().phaseIncrement(), 4096.0 / 44100.0 * 0.5, 1e-9);
    sweep.setSampleRate(48000.0);
    run(sweep, Stereo(64), 64, 120.0);
    EXPECT_NEAR(sweep.lfo().phaseIncrement(), 4096.0 / 48000.0 * 0.5, 1e-9);
}

}  // namespace

namespace {

class EffectsSectionTest : public ::testing::Test {
protected:
    void set(int32_t index, float value) {
        params[index] = value;
        section.applyParameter(index, value);
    }
    Stereo process(Stereo input, double tempo = 0.0) {
        float* buffers[2] = {input.left.data(), input.right.data()};
        section.process(buffers, static_cast<int32_t>(input.left.size()), tempo);
        return input;
    }
    float params[108] = {};
    EffectsSection section{params};
};

TEST_F(EffectsSectionTest, DelayRows) {
    set(EffectsSection::kFxFeedback, 1.0f);
    EXPECT_EQ(section.delay().feedback(), 0.999f);

    set(EffectsSection::kFxSync, 1.0f);
    set(EffectsSection::kFxDelay, 0.0f);  // "1/1": 4 beats, 88200 samples at 120, capped
    EXPECT_EQ(section.delay().beats(), 4.0);
    process(Stereo(16), 120.0);
    process(Stereo(16), 120.0);
    EXPECT_EQ(section.delay().delaySamples(), 88198);
}

TEST_F(EffectsSectionTest, BypassAndTypeChooseTheUnit) {
    set(EffectsSection::kFxMix, 1.0f);
    process(Stereo(16));
    Stereo loud(256, 0.5f);
    EXPECT_NE(process(loud).left, loud.left);     // the delay: silence until the first echo
    params[EffectsSection::kFxBypass] = 0.0001f;  // anything but exactly 0 bypasses
    EXPECT_EQ(process(loud).left, loud.left);
    params[EffectsSection::kFxBypass] = 0.0f;
    // A unit coming back into use applies its reset or clear to its first block.
    set(EffectsSection::kFxType, 1.0f);
    EXPECT_NE(process(loud).left, loud.left);  // swept at once
    set(EffectsSection::kFxType, 0.0f);
    EXPECT_EQ(process(loud).left, Stereo(256).left);  // the cleared delay: silence, no echo yet
}

// The reconfiguring side waits while the audio side is inside; the audio side is refused at once
// while locked out, never kept waiting.
TEST(AudioExclusion, KeepsTheAudioSideOutWithoutWaiting) {
    AudioExclusion exclusion;
    ASSERT_TRUE(exclusion.enter());
    std::atomic<bool> lockedOut{false};
    std::thread writer([&] {
        exclusion.lockOut();
        lockedOut = true;
    });
    // Stay inside until the writer has announced itself: a second enter() is refused then (and
    // leaves). Up to that moment the writer must not have got through.
    for (bool inside = true; inside;) {
        EXPECT_FALSE(lockedOut.load());
        inside = exclusion.enter();
        std::this_thread::yield();
    }
    writer.join();
    EXPECT_TRUE(lockedOut.load());
    EXPECT_FALSE(exclusion.enter());
    exclusion.letIn();
    EXPECT_TRUE(exclusion.enter());
    exclusion.leave();
}

}  // namespace
