// Nanoseconds per voice-sample: the two voice kernels alone, and a whole sample-layer voice
// (kernel plus its control-rate work every 512 frames) with each kernel.
#include <benchmark/benchmark.h>

#include <random>

#include "engine/KernelChoice.h"
#include "engine/KernelTestSupport.h"
#include "engine/PRSVoice.h"
#include "engine/VoiceKernel.h"
#include "engine/VoiceTestSupport.h"

namespace {

constexpr int kFrames = 512;

void reportPerSample(benchmark::State& state) {
    state.counters["per_sample"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A playing state: noisy layers at a non-integer pitch, order-10 lattice with every coefficient
// ramping, amplitudes and pan ramping.
KernelSetup playingSetup() {
    KernelSetup setup(1 << 16, 30000);
    VoiceRenderState& s = *setup.state;
    s.increment[kBaseLane] = s.increment[2] = 23456.7f;
    s.increment[kTopLane] = s.increment[3] = 31234.5f;
    for (int j = 0; j <= s.order; ++j) s.dk[j] = 1e-7f;
    s.amplitudeStep[kBaseLane] = s.amplitudeStep[kTopLane] = 1e-7f;
    s.panStep[0] = 1e-7f;
    return setup;
}

void kernelBenchmark(benchmark::State& state, void (*kernel)(VoiceRenderState&)) {
    KernelSetup setup = playingSetup();
    setup.left.assign(kFrames, 0.0f);
    setup.right.assign(kFrames, 0.0f);
    for (auto _ : state) {
        setup.render(kernel, kFrames);
        benchmark::DoNotOptimize(setup.left.data());
    }
    reportPerSample(state);
}

void BM_KernelPortable(benchmark::State& state) {
    kernelBenchmark(state, renderVoicePortable);
}
void BM_KernelSse2(benchmark::State& state) {
    kernelBenchmark(state, renderVoiceSse2);
}

void voiceBenchmark(benchmark::State& state, int noMMXValue) {
    voicetest::FakeVoiceContext context;
    const voicetest::RawFile layer = voicetest::noiseFile(1 << 16, 2);
    context.setLayers(layer, layer, voicetest::growingFilterFile(32));
    context.params[10] = context.params[77] = context.params[14] = context.params[80] = 1.0f;
    context.params[34] = context.params[44] = 0.5f;  // Base and Filter LFOs running

    setNoMMX(noMMXValue);
    PRSVoice voice(context);
    voice.note = 60;
    voice.velocityValue = 100;
    voice.volume = 0.8;
    voice.start(60, 100 / 127.0);
    std::vector<float> left(kFrames), right(kFrames);
    float* outputs[2] = {left.data(), right.data()};
    for (auto _ : state) {
        voice.render(nullptr, outputs, kFrames);
        benchmark::DoNotOptimize(left.data());
    }
    setNoMMX(0);
    reportPerSample(state);
}

void BM_VoicePortable(benchmark::State& state) {
    voiceBenchmark(state, 1);
}
void BM_VoiceSse2(benchmark::State& state) {
    voiceBenchmark(state, 0);
}

}  // namespace

BENCHMARK(BM_KernelPortable);
BENCHMARK(BM_KernelSse2);
BENCHMARK(BM_VoicePortable);
BENCHMARK(BM_VoiceSse2);
