// The effect units and the rate converter per stereo frame, in blocks of 512 frames.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/DelayUnit.h"
#include "engine/FilterSweepUnit.h"
#include "engine/PRateConverter.h"

namespace {

constexpr int32_t kBlock = 512;

struct Block {
    Block() : left(kBlock), right(kBlock) {
        for (int32_t i = 0; i < kBlock; ++i) {
            left[i] = 0.3f * std::sin(i * 0.05f);
            right[i] = 0.3f * std::sin(i * 0.07f);
        }
    }
    std::vector<float> left, right;
};

template <class Unit>
void runUnit(benchmark::State& state, Unit& unit, double tempo) {
    Block block;
    float* io[2] = {block.left.data(), block.right.data()};
    for (auto _ : state) {
        unit.process(io, io, kBlock, tempo);
        benchmark::DoNotOptimize(block.left.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_DelayUnit(benchmark::State& state) {
    DelayUnit delay;
    delay.setDelay(0.3f);
    delay.setFeedback(0.6f);
    delay.setDamping(0.4f);
    delay.setWet(0.5f);
    delay.setDry(0.5f);
    runUnit(state, delay, state.range(0) ? 120.0 : 0.0);
}
BENCHMARK(BM_DelayUnit)->Arg(0)->Arg(1);

void BM_FilterSweepUnit(benchmark::State& state) {
    FilterSweepUnit sweep;
    sweep.setRate(2.0f);
    sweep.setPanDepth(0.5f);
    sweep.setSmoothing(0.3f);
    sweep.setWet(0.5f);
    sweep.setDry(0.5f);
    runUnit(state, sweep, 0.0);
}
BENCHMARK(BM_FilterSweepUnit);

void BM_RateConverter96k(benchmark::State& state) {
    PRateConverter converter;
    converter.configure(44100.0, 96000.0, kBlock);
    Block block;
    float* out[2] = {block.left.data(), block.right.data()};
    for (auto _ : state) {
        converter.process(out, kBlock, [](float* const buffers[2], int32_t n) {
            for (int32_t i = 0; i < n; ++i) buffers[0][i] = buffers[1][i] = 0.1f;
        });
        benchmark::DoNotOptimize(block.left.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_RateConverter96k);

}  // namespace
