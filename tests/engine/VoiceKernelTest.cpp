#include "engine/VoiceKernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/KernelChoice.h"
#include "engine/KernelTestSupport.h"

namespace {

using KernelFunction = void (*)(VoiceRenderState&);

struct NamedKernel {
    const char* name;
    KernelFunction run;
};
const NamedKernel kKernels[] = {{"portable", renderVoicePortable}, {"sse2", renderVoiceSse2}};

// A first-order lattice with k[0] = 0 and unit gain passes the filter input straight through,
// so the left output shows the interpolated layer sum times the output gain.
void makeTransparent(KernelSetup& setup) {
    VoiceRenderState& s = *setup.state;
    s.order = 1;
    s.k[0] = 0.0f;
    s.k[1] = 1.0f;
    s.outputGain = 1e-6f;
    s.pan[0] = 1.0f;
    s.pan[1] = 0.0f;
}

// A random but valid state: layers anywhere inside their loops, any phase, stable lattice with
// ramping coefficients, ramping amplitudes and pan.
void randomise(KernelSetup& setup, std::mt19937& random, int order, bool wholeIncrements) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> fraction(0, 0xFFFF);
    setup.fillRandom(random);
    VoiceRenderState& s = *setup.state;
    for (int lane = 0; lane < 2; ++lane) {
        std::uniform_int_distribution<int> position(0, s.loopEnd[lane]);
        s.position[lane] = position(random);
        s.fraction[lane] = fraction(random);
        const float increment = unit(random) * 4.0f * 65536.0f;
        s.increment[lane] = wholeIncrements ? std::floor(increment) : increment;
        s.amplitude[lane] = unit(random);
        s.amplitudeStep[lane] = (unit(random) - 0.5f) * 1e-3f;
    }
    s.order = order;
    for (int j = 0; j < kLatticeCapacity; ++j) s.k[j] = s.dk[j] = s.g[j] = 0.0f;
    for (int j = 0; j <= order; ++j) {
        s.k[j] = (unit(random) - 0.5f) * 1.6f;
        s.dk[j] = (unit(random) - 0.5f) * 1e-4f;
    }
    s.k[order] = unit(random);
    s.pan[0] = unit(random);
    s.pan[1] = 1.0f - s.pan[0];
    s.panStep[0] = (unit(random) - 0.5f) * 1e-3f;
    s.panStep[1] = -s.panStep[0];
}

void expectSameState(const VoiceRenderState& a, const VoiceRenderState& b) {
    for (int lane = 0; lane < 2; ++lane) {
        EXPECT_EQ(a.position[lane], b.position[lane]) << lane;
        EXPECT_EQ(a.fraction[lane], b.fraction[lane]) << lane;
        EXPECT_EQ(a.amplitude[lane], b.amplitude[lane]) << lane;
        EXPECT_EQ(a.pan[lane], b.pan[lane]) << lane;
    }
    for (int j = 0; j <= a.order; ++j) EXPECT_EQ(a.k[j], b.k[j]) << j;
    for (int j = 0; j < a.order; ++j) EXPECT_EQ(a.g[j], b.g[j]) << j;
}

TEST(VoiceKernel, InterpolatesBothLayersThroughTheirTables) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup;
        makeTransparent(setup);
        setup.base[100] = 1000;
        setup.base[101] = 3000;
        for (int j = 0; j < 12; ++j) setup.top[200 + j] = static_cast<std::int16_t>(j * 700 - 3000);
        VoiceRenderState& s = *setup.state;
        s.position[kBaseLane] = 100;
        s.fraction[kBaseLane] = 0x8000;  // phase 128: 16000 and 16000
        s.position[kTopLane] = 200;
        s.fraction[kTopLane] = 0x5A12;  // phase 0x5A
        s.amplitude[kBaseLane] = 0.25f;
        s.amplitude[kTopLane] = 0.5f;
        s.increment[kBaseLane] = s.increment[kTopLane] = 0.0f;
        setup.render(kernel.run, 1);

        std::int32_t top = 0;
        for (int j = 0; j < kSincTaps; ++j)
            top += setup.top[200 + j] * setup.tables().sinc[0x5A][j];
        const float base = static_cast<float>((1000 + 3000) * 16000);
        const float expected = base * 0.25f + static_cast<float>(top) * 0.5f + 1e-4f;
        EXPECT_EQ(setup.left[0], expected * 1e-6f) << kernel.name;
        EXPECT_EQ(setup.right[0], 0.0f) << kernel.name;
    }
}

TEST(VoiceKernel, PortableAndSse2AgreeOnRandomStates) {
    std::mt19937 random(1234);
    for (int order = 1; order <= kMaxFilterOrder; ++order) {
        for (int trial = 0; trial < 4; ++trial) {
            // With whole increments the two conversions agree, so everything must match exactly.
            KernelSetup portable;
            randomise(portable, random, order, true);
            KernelSetup vector(portable);
            portable.render(renderVoicePortable, 700);
            vector.render(renderVoiceSse2, 700);
            ASSERT_EQ(portable.left, vector.left) << "order " << order;
            ASSERT_EQ(portable.right, vector.right) << "order " << order;
            expectSameState(*portable.state, *vector.state);
        }
    }
}

TEST(VoiceKernel, Sse2DiffersOnlyByRoundingTheIncrement) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 20; ++trial) {
        KernelSetup vector;
        randomise(vector, random, 10, false);
        KernelSetup portable(vector);
        for (int lane = 0; lane < 4; ++lane)
            portable.state->increment[lane] = std::nearbyint(portable.state->increment[lane]);
        vector.render(renderVoiceSse2, 600);
        portable.render(renderVoicePortable, 600);
        ASSERT_EQ(portable.left, vector.left) << trial;
        expectSameState(*portable.state, *vector.state);
    }
    // Truncation against rounding: 1.75 per frame advances the fraction by 1 or by 2.
    KernelSetup portable;
    portable.state->increment[kBaseLane] = 1.75f;
    KernelSetup vector(portable);
    portable.render(renderVoicePortable, 10);
    vector.render(renderVoiceSse2, 10);
    EXPECT_EQ(portable.state->fraction[kBaseLane], 10);
    EXPECT_EQ(vector.state->fraction[kBaseLane], 20);
}

TEST(VoiceKernel, PhaseCarriesIntoPositionAndWrapsAtLoopEnd) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup(2000, 500);
        VoiceRenderState& s = *setup.state;
        const int loopEnd = s.loopEnd[kBaseLane];
        s.position[kBaseLane] = loopEnd - 2;
        s.fraction[kBaseLane] = 0xC000;
        s.increment[kBaseLane] = 0x8000;  // half a sample per frame
        s.position[kTopLane] = 10;
        s.increment[kTopLane] = 3 * 65536 + 0x100;
        setup.render(kernel.run, 1);
        EXPECT_EQ(s.position[kBaseLane], loopEnd - 1) << kernel.name;
        EXPECT_EQ(s.fraction[kBaseLane], 0x4000) << kernel.name;
        EXPECT_EQ(s.position[kTopLane], 13) << kernel.name;
        EXPECT_EQ(s.fraction[kTopLane], 0x100) << kernel.name;
        setup.render(kernel.run, 2);
        // Reaching the loop end jumps back by the loop length in the same frame.
        EXPECT_EQ(s.position[kBaseLane], loopEnd - 500) << kernel.name;
        EXPECT_EQ(s.fraction[kBaseLane], 0x4000) << kernel.name;
    }
}

TEST(VoiceKernel, EmptyLoopHoldsTheLayerAtTheLoopEnd) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup(1000, 0);
        VoiceRenderState& s = *setup.state;
        s.position[kBaseLane] = s.loopEnd[kBaseLane] - 3;
        s.increment[kBaseLane] = 2 * 65536;
        s.position[kTopLane] = s.loopEnd[kTopLane] - 1;
        s.increment[kTopLane] = 7 * 65536;
        setup.render(kernel.run, 50);
        EXPECT_EQ(s.position[kBaseLane], s.loopEnd[kBaseLane]) << kernel.name;
        EXPECT_EQ(s.position[kTopLane], s.loopEnd[kTopLane]) << kernel.name;
    }
}

// The lattice against the direct-form all-pole filter with the same reflection coefficients
// (step-up recursion), driven by an impulse through the Base layer.
TEST(VoiceKernel, LatticeMatchesDirectFormAllPoleFilter) {
    const float reflection[10] = {0.9f, -0.7f, 0.5f, 0.3f, -0.6f, 0.2f, 0.4f, -0.1f, 0.25f, -0.35f};
    const int order = 10;
    std::vector<double> a = {1.0};  // A(z) = 1 + a1 z^-1 + ...
    for (int m = 1; m <= order; ++m) {
        std::vector<double> next(m + 1);
        next[0] = 1.0;
        for (int i = 1; i < m; ++i) next[i] = a[i] + reflection[m - 1] * a[m - i];
        next[m] = reflection[m - 1];
        a = next;
    }
    const int frames = 400;
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup(frames + 64, 10);
        VoiceRenderState& s = *setup.state;
        setup.base[0] = 20000;
        s.amplitude[kTopLane] = 0.0f;
        s.amplitude[kBaseLane] = 1e-9f;
        s.order = order;
        for (int j = 0; j < order; ++j) s.k[j] = reflection[j];
        s.k[order] = 0.5f;
        s.outputGain = 1.0f;
        s.pan[0] = 1.0f;
        setup.render(kernel.run, frames);

        std::vector<double> y(frames, 0.0);
        double peak = 0.0;
        for (int n = 0; n < frames; ++n) {
            const double x = (n == 0 ? 20000.0 * 32000.0 * 1e-9 : 0.0) + 1e-4;
            double v = 0.5 * x;
            for (int i = 1; i <= order && i <= n; ++i) v -= a[i] * y[n - i];
            y[n] = v;
            peak = std::max(peak, std::fabs(v));
        }
        for (int n = 0; n < frames; ++n)
            ASSERT_NEAR(setup.left[n], y[n], peak * 1e-5) << kernel.name << " frame " << n;
    }
}

TEST(VoiceKernel, SplitCallsEqualOneCall) {
    std::mt19937 random(7);
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup whole;
        randomise(whole, random, 12, false);
        KernelSetup split(whole);
        whole.render(kernel.run, 600);
        split.render(kernel.run, 0);
        split.render(kernel.run, 213);
        split.render(kernel.run, 387, 213);
        EXPECT_EQ(whole.left, split.left) << kernel.name;
        EXPECT_EQ(whole.right, split.right) << kernel.name;
        expectSameState(*whole.state, *split.state);
    }
}

TEST(VoiceKernel, RampsReachTheirTargetsAndOutputAdds) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup;
        VoiceRenderState& s = *setup.state;
        s.amplitude[kBaseLane] = 0.0f;
        s.amplitudeStep[kBaseLane] = 0.5f / 512;
        s.k[3] = 0.2f;
        s.dk[3] = -0.4f / 512;
        s.pan[0] = 1.0f;
        s.panStep[0] = -1.0f / 512;
        setup.left.assign(512, 0.25f);
        setup.right.assign(512, 0.25f);
        setup.render(kernel.run, 512);
        EXPECT_NEAR(s.amplitude[kBaseLane], 0.5f, 1e-5f) << kernel.name;
        EXPECT_NEAR(s.k[3], -0.2f, 1e-5f) << kernel.name;
        EXPECT_NEAR(s.pan[0], 0.0f, 1e-5f) << kernel.name;
        // Silent layers: every frame carries only the bias through the filter onto 0.25.
        EXPECT_NEAR(setup.left[0], 0.25f, 1e-6f) << kernel.name;
    }
}

TEST(VoiceKernel, NonFiniteInputNeverReachesTheOutput) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup;
        setup.base.assign(setup.base.size(), 30000);
        setup.state->amplitude[kBaseLane] = NAN;
        setup.render(kernel.run, 64);
        for (float v : setup.left) ASSERT_TRUE(std::isfinite(v)) << kernel.name;
        for (float v : setup.left) ASSERT_LE(std::fabs(v), kVoiceOutputLimit) << kernel.name;
    }
}

TEST(VoiceKernel, NoMMXChoosesTheKernelAtEveryCall) {
    KernelSetup reference;
    reference.state->increment[kBaseLane] = 1.75f;
    KernelSetup chosen(reference);
    setNoMMX(1);
    chosen.render(renderVoice, 4);
    EXPECT_EQ(chosen.state->fraction[kBaseLane], 4);  // truncated: the portable kernel
    setNoMMX(0);
    chosen.render(renderVoice, 4);
    EXPECT_EQ(chosen.state->fraction[kBaseLane], 12);  // rounded: the SSE2 kernel
    EXPECT_EQ(defaultNoMMX(true, false), 0);
    EXPECT_EQ(defaultNoMMX(false, true), 0);
    EXPECT_EQ(defaultNoMMX(false, false), 1);
}

}  // namespace
