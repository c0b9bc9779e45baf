#include "engine/VoiceKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "engine/KernelChoice.h"
#include "engine/KernelTestSupport.h"
#include "engine/LaneKernel.h"
#include "platform/Platform.h"

namespace {

struct NamedKernel {
    const char* name;
    void (*run)(VoiceRenderState&);
};
const NamedKernel kKernels[] = {{"portable", renderVoicePortable}, {"sse2", renderVoiceSse2}};

// Any valid state: layers anywhere in their loops at any phase and pitch, a stable lattice of
// the given order, every ramp running.
void randomise(KernelSetup& setup, std::mt19937& random, int order) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    VoiceRenderState& s = *setup.state;
    for (int lane = 0; lane < 2; ++lane) {
        s.position[lane] = static_cast<int>(unit(random) * s.loopEnd[lane]);
        s.fraction[lane] = static_cast<int>(unit(random) * 0xFFFF);
        s.increment[lane] = unit(random) * 4.0f * 65536.0f;
        s.amplitude[lane] = unit(random);
        s.amplitudeStep[lane] = (unit(random) - 0.5f) * 1e-3f;
    }
    s.order = order;
    for (int j = 0; j < kLatticeCapacity; ++j) {
        s.g[j] = 0.0f;
        s.k[j] = j < order ? (unit(random) - 0.5f) * 1.6f : j == order ? unit(random) : 0.0f;
        s.dk[j] = j <= order ? (unit(random) - 0.5f) * 1e-4f : 0.0f;
    }
    s.pan[0] = unit(random);
    s.panStep[0] = (unit(random) - 0.5f) * 1e-3f;
}

void expectSameState(const VoiceRenderState& a, const VoiceRenderState& b) {
    for (int lane = 0; lane < 2; ++lane) {
        EXPECT_EQ(a.position[lane], b.position[lane]);
        EXPECT_EQ(a.fraction[lane], b.fraction[lane]);
        EXPECT_EQ(a.amplitude[lane], b.amplitude[lane]);
        EXPECT_EQ(a.pan[lane], b.pan[lane]);
    }
    for (int j = 0; j <= a.order; ++j) EXPECT_EQ(a.k[j], b.k[j]) << j;
    for (int j = 0; j < a.order; ++j) EXPECT_EQ(a.g[j], b.g[j]) << j;
}

TEST(VoiceKernel, InterpolatesBothLayersThroughTheirTables) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup;
        VoiceRenderState& s = *setup.state;
        s.order = 1;  // k[0] = 0, unit input gain: the output is the filter input times the gain
        s.k[0] = 0.0f;
        s.k[1] = 1.0f;
        s.outputGain = 1e-6f;
        s.position[kBaseLane] = 100;
        s.fraction[kBaseLane] = 0x8000;  // phase 128: weights 16000 and 16000
        s.position[kTopLane] = 200;
        s.fraction[kTopLane] = 0x5A12;  // phase 0x5A
        s.amplitude[kBaseLane] = 0.25f;
        s.amplitude[kTopLane] = 0.5f;
        setup.render(kernel.run, 1);

        std::int32_t top = 0;
        for (int j = 0; j < kSincTaps; ++j)
            top += setup.top[200 + j] * setup.tables().sinc[0x5A][j];
        const float base = static_cast<float>((setup.base[100] + setup.base[101]) * 16000);
        EXPECT_EQ(setup.left[0], (base * 0.25f + static_cast<float>(top) * 0.5f + 1e-4f) * 1e-6f)
            << kernel.name;
    }
}

// The kernels differ only in converting the increment: the SSE2 one rounds where the portable
// one truncates (the NoMMX test tells them apart by that). Given rounded increments, the
// portable kernel must match it exactly.
TEST(VoiceKernel, PortableAndSse2AgreeOnRandomStates) {
    std::mt19937 random(1234);
    for (int order = 1; order <= kMaxFilterOrder; ++order) {
        KernelSetup vector(4096, 1000, order);
        randomise(vector, random, order);
        KernelSetup portable(vector);
        for (float& increment : portable.state->increment) increment = std::nearbyint(increment);
        vector.render(renderVoiceSse2, 700);
        portable.render(renderVoicePortable, 700);
        ASSERT_EQ(portable.left, vector.left) << order;
        ASSERT_EQ(portable.right, vector.right) << order;
        expectSameState(*portable.state, *vector.state);
    }
}

// Voices side by side: each lane runs in its group's order, yet must produce exactly the
// portable kernel's output and state for its voice, over stretches of any length; lanes without
// a voice stay silent.
TEST(VoiceKernel, LanesMatchThePortableKernelVoiceByVoice) {
    std::vector<int> widths = {4};
    if (platform::cpuFeatures().avx2) widths.push_back(8);
    std::mt19937 random(77);
    std::uniform_int_distribution<int> anyOrder(1, kMaxFilterOrder);
    auto scratch = std::make_unique<LaneScratch>();
    for (int width : widths) {
        for (int trial = 0; trial < 12; ++trial) {
            const int voices = 1 + trial % width;
            std::vector<KernelSetup> lanes, references;
            LaneState group{};
            group.order = 1;
            for (int lane = 0; lane < voices; ++lane) {
                const int order = trial == 0 ? 10 : anyOrder(random);
                lanes.emplace_back(4096, 1000, static_cast<unsigned>(trial * 8 + lane));
                randomise(lanes.back(), random, order);
                VoiceRenderState& s = *lanes.back().state;
                s.outputGain = 1e-9f;
                s.pan[1] = 1.0f - s.pan[0];
                s.panStep[1] = -s.panStep[0];
                if (trial == 1 && lane == 0) s.amplitude[kBaseLane] = NAN;  // limited, as ever
                references.emplace_back(lanes.back());
                group.order = std::max(group.order, order);
            }
            for (int lane = 0; lane < voices; ++lane) gatherLane(group, lane, *lanes[lane].state);

            const int frames = 37 + trial * 53;
            struct alignas(32) MixRow {
                float lanes[2 * kMaxLanes];
            };
            std::vector<MixRow> mix(static_cast<std::size_t>(frames), MixRow{});
            for (int done = 0; done < frames; done += kLaneChunk)
                renderLanes(group, *scratch, width, (1u << voices) - 1, mix[done].lanes,
                            std::min(frames - done, kLaneChunk));
            for (int lane = 0; lane < voices; ++lane) {
                scatterLane(group, lane, *lanes[lane].state);
                references[lane].render(renderVoicePortable, frames);
                for (int i = 0; i < frames; ++i) {
                    ASSERT_EQ(mix[i].lanes[lane], references[lane].left[i])
                        << width << " lanes, trial " << trial << ", lane " << lane;
                    ASSERT_EQ(mix[i].lanes[kMaxLanes + lane], references[lane].right[i]);
                }
                if (trial != 1 || lane != 0)  // NaN amplitudes compare unequal
                    expectSameState(*references[lane].state, *lanes[lane].state);
            }
            for (int i = 0; i < frames; ++i)
                for (int lane = voices; lane < width; ++lane)
                    ASSERT_EQ(mix[i].lanes[lane], 0.0f) << "empty lane " << lane;
        }
    }
    EXPECT_EQ(supportedVoiceLanes(8, false), 4);
    EXPECT_EQ(supportedVoiceLanes(-1, true), 8);
    EXPECT_EQ(supportedVoiceLanes(0, true), 0);
}

TEST(VoiceKernel, PhaseCarriesIntoPositionAndWrapsAtTheLoopEnd) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup(2000, 500);
        VoiceRenderState& s = *setup.state;
        const int loopEnd = s.loopEnd[kBaseLane];
        s.position[kBaseLane] = loopEnd - 2;
        s.fraction[kBaseLane] = 0xC000;
        s.increment[kBaseLane] = 0x8000;
        s.loopLength[kTopLane] = 0;  // an empty loop holds the layer at its end
        s.position[kTopLane] = loopEnd - 1;
        s.increment[kTopLane] = 7 * 65536;
        setup.render(kernel.run, 1);
        EXPECT_EQ(s.position[kBaseLane], loopEnd - 1) << kernel.name;
        EXPECT_EQ(s.fraction[kBaseLane], 0x4000) << kernel.name;
        setup.render(kernel.run, 2);  // reaching the end jumps back by the loop in that frame
        EXPECT_EQ(s.position[kBaseLane], loopEnd - 500) << kernel.name;
        EXPECT_EQ(s.position[kTopLane], loopEnd) << kernel.name;
    }
}

// The lattice against the direct-form all-pole filter 1/A(z) built from the same reflection
// coefficients by the step-up recursion, driven by an impulse through the Base layer.
TEST(VoiceKernel, LatticeMatchesDirectFormAllPoleFilter) {
    const float reflection[10] = {0.9f, -0.7f, 0.5f, 0.3f, -0.6f, 0.2f, 0.4f, -0.1f, 0.25f, -0.35f};
    std::vector<double> a = {1.0};
    for (int m = 1; m <= 10; ++m) {
        std::vector<double> next(m + 1, 1.0);
        for (int i = 1; i < m; ++i) next[i] = a[i] + reflection[m - 1] * a[m - i];
        next[m] = reflection[m - 1];
        a = next;
    }
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup(464, 10);
        VoiceRenderState& s = *setup.state;
        setup.base.assign(setup.base.size(), 0);
        setup.base[0] = 20000;
        s.amplitude[kTopLane] = 0.0f;
        s.amplitude[kBaseLane] = 1e-9f;
        for (int j = 0; j < 10; ++j) s.k[j] = reflection[j];
        s.k[10] = 0.5f;
        s.outputGain = 1.0f;
        setup.render(kernel.run, 400);

        std::vector<double> y(400, 0.0);
        for (int n = 0; n < 400; ++n) {
            y[n] = 0.5 * ((n == 0 ? 20000.0 * 32000.0 * 1e-9 : 0.0) + 1e-4);
            for (int i = 1; i <= 10 && i <= n; ++i) y[n] -= a[i] * y[n - i];
            ASSERT_NEAR(setup.left[n], y[n], 1e-5) << kernel.name << " frame " << n;
        }
    }
}

TEST(VoiceKernel, NonFiniteValuesNeverReachTheOutput) {
    for (const NamedKernel& kernel : kKernels) {
        KernelSetup setup;
        setup.state->amplitude[kBaseLane] = NAN;
        setup.render(kernel.run, 64);
        for (float v : setup.left) ASSERT_EQ(v, -kVoiceOutputLimit) << kernel.name;
    }
}

TEST(VoiceKernel, NoMMXChoosesTheKernelAtEveryCall) {
    KernelSetup setup;
    setup.state->increment[kBaseLane] = 1.75f;
    setNoMMX(1);
    setup.render(renderVoice, 4);
    EXPECT_EQ(setup.state->fraction[kBaseLane], 4);  // truncated: portable
    setNoMMX(0);
    setup.render(renderVoice, 4);
    EXPECT_EQ(setup.state->fraction[kBaseLane], 12);  // rounded: SSE2
}

}  // namespace
