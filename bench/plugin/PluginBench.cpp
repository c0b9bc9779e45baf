// The whole plug-in at 44100 Hz: voices held through processReplacing in 512-frame blocks, as a
// host drives it. Reported as the real-time factor on one core (seconds of audio rendered per
// second of work) and the voices sounding on average.
//
// The voice manager lets half of its 64 voices play and keeps the other half for stolen voices
// fading out, so "held" tops out at 32; the "restruck" case keeps all 64 busy by striking new
// notes every block, so that 32 play while up to 32 stolen ones fade.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "core/Orin.h"
#include "engine/PRSVoicer.h"
#include "host/SineLibrary.h"
#include "hostlib/VstHost.h"
#include "platform/TempFolder.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 44100.0f;

// A copy of the module beside the sine library, loaded, at 44100 Hz, every note sustained.
struct Plugin {
    Plugin() {
        const std::filesystem::path built(QUOR_MODULE_PATH);
        const std::string module = folder.file(built.filename().string());
        std::filesystem::copy_file(built, module);
        std::filesystem::create_directories(folder.file("Quor-Data") + "/OIP");
        std::filesystem::create_directories(folder.file("Quor-Data") + "/Raw");
        ready = playing::writeSineLibrary(folder.file("Quor-Data")) && host.load(module.c_str());
        if (!ready) return;
        host.open();
        host.setSampleRate(kRate);
        host.setBlockSize(kBlock);
        host.resume();
        host.setParameter(85, 1.0f);  // "Voices": as many as the manager allows
        for (int sustain : {10, 14, 18}) host.setParameter(sustain, 1.0f);
    }
    // Voices in the manager's active list (playing or fading).
    int sounding() {
        auto* orin = static_cast<Orin*>(static_cast<AudioEffect*>(host.effect()->object));
        return orin->engine().voicer()->activeCount();
    }
    TempFolder folder;
    VstHost host;
    bool ready = false;
};

// Renders blocks for as long as the benchmark runs, calling beforeBlock(plugin) before each.
template <class BeforeBlock>
void renderBlocks(benchmark::State& state, Plugin& plugin, BeforeBlock&& beforeBlock) {
    std::vector<float> left(kBlock), right(kBlock);
    long blocks = 0, voiceBlocks = 0;
    for (auto _ : state) {
        beforeBlock(plugin);
        plugin.host.process(left.data(), right.data(), kBlock);
        benchmark::DoNotOptimize(left.data());
        ++blocks;
        voiceBlocks += plugin.sounding();
    }
    const double seconds = static_cast<double>(blocks) * kBlock / kRate;
    state.counters["rtf"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    state.counters["voices"] = static_cast<double>(voiceBlocks) / static_cast<double>(blocks);
}

void heldVoices(benchmark::State& state) {
    Plugin plugin;
    if (!plugin.ready) return state.SkipWithError("the plug-in did not load");
    for (int n = 0; n < 32; ++n) plugin.host.noteOn(0, 40 + n, 100);
    renderBlocks(state, plugin, [](Plugin&) {});
}

void restruckVoices(benchmark::State& state) {
    Plugin plugin;
    if (!plugin.ready) return state.SkipWithError("the plug-in did not load");
    int next = 0;
    renderBlocks(state, plugin, [&next](Plugin& p) {
        for (int n = 0; n < 8; ++n, ++next) p.host.noteOn(0, 30 + next % 70, 100, n * 60);
    });
}

BENCHMARK(heldVoices)->Unit(benchmark::kMicrosecond)->MinTime(3.0);
BENCHMARK(restruckVoices)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

}  // namespace
