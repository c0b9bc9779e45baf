// A render state over random sample buffers in memory, for the kernel tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/VoiceRenderState.h"
#include "engine/VoiceTables.h"

struct KernelSetup {
    static const VoiceTables& tables() {
        static const std::unique_ptr<VoiceTables> built = [] {
            auto t = std::make_unique<VoiceTables>();
            buildVoiceTables(*t);
            return t;
        }();
        return *built;
    }

    // Both layers: `sampleCount` random samples looped over `loopLength` before the 12 guard
    // samples, one sample per frame. An order-10 lattice with unit input gain.
    explicit KernelSetup(int sampleCount = 4096, int loopLength = 1000, unsigned seed = 1)
        : base(sampleCount), top(sampleCount), state(std::make_unique<VoiceRenderState>()) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> sample(-32768, 32767);
        for (auto& v : base) v = static_cast<std::int16_t>(sample(random));
        for (auto& v : top) v = static_cast<std::int16_t>(sample(random));
        VoiceRenderState& s = *state;
        s.samples[kBaseLane] = base.data();
        s.samples[kTopLane] = top.data();
        s.linearTable = &tables().linear[0][0];
        s.sincTable = &tables().sinc[0][0];
        for (int lane = 0; lane < 4; ++lane) {
            s.fractionMask[lane] = 0xFFFF;
            s.loopEnd[lane] = sampleCount - 12;
            s.loopLength[lane] = loopLength;
            s.increment[lane] = 65536.0f;
            s.amplitude[lane] = 1.0f;
        }
        s.order = 10;
        for (int j = 0; j < s.order; ++j) s.k[j] = 0.1f * ((j % 3) - 1);
        s.k[s.order] = 1.0f;
        s.outputGain = 1e-9f;
        s.pan[0] = 1.0f;
        s.pan[1] = 0.5f;
    }

    KernelSetup(const KernelSetup& other)
        : base(other.base),
          top(other.top),
          state(std::make_unique<VoiceRenderState>(*other.state)),
          left(other.left),
          right(other.right) {
        state->samples[kBaseLane] = base.data();
        state->samples[kTopLane] = top.data();
    }
    KernelSetup& operator=(const KernelSetup&) = delete;

    // Renders `frames` frames into the outputs from frame `offset`, growing them as needed.
    template <typename Kernel>
    void render(Kernel kernel, int frames, int offset = 0) {
        if (static_cast<int>(left.size()) < offset + frames) {
            left.resize(offset + frames);
            right.resize(offset + frames);
        }
        state->frameCount = frames;
        state->output[0] = left.data() + offset;
        state->output[1] = right.data() + offset;
        kernel(*state);
    }

    std::vector<std::int16_t> base, top;
    std::unique_ptr<VoiceRenderState> state;
    std::vector<float> left, right;
};
