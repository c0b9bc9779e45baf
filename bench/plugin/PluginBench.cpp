// The whole plug-in at 44100 Hz, loaded through its entry from a copy of the built module and
// driven through processReplacing in 512-frame blocks as a host drives it, with each choice of
// voice kernels side by side in one run: portable, SSE2 per voice, SSE2 lanes, AVX2 lanes.
// Reported per case: the voices sounding on average, thread CPU time per voice-sample and the
// real-time factor on one core (seconds of audio rendered per second of work).
//
// The voice manager lets half of its 64 voices play and keeps the other half for stolen voices
// fading out, so "held" tops out at 32; "restruck" keeps all 64 busy by striking 8 new notes
// every block, so that 32 play while up to 32 stolen ones fade.
//
//   bench_plugin [seconds per case [kernels]]
// (kernels: one of the names below, to run only that choice)
// plays the sine library written for the tests, or the library whose "Quor-Data" folder lies in
// the folder named by the environment variable QUOR_BENCH_LIBRARY (the generated library).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Orin.h"
#include "engine/PRSVoicer.h"
#include "host/SineLibrary.h"
#include "hostlib/VstHost.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 44100.0f;

struct Kernels {
    const char* name;
    int noMmx;
    int voiceLanes;
};
constexpr Kernels kKernels[] = {
    {"portable", 1, 0}, {"sse2-voice", 0, 0}, {"sse2-lanes", 0, 4}, {"avx2-lanes", 0, 8}};

// A copy of the module with its settings file choosing the kernels, at 44100 Hz, every note
// sustained.
struct Plugin {
    Plugin(const Kernels& kernels, const char* library) {
        const std::filesystem::path built(QUOR_MODULE_PATH);
        const std::string module = folder.file(built.filename().string());
        std::filesystem::copy_file(built, module);
        std::string settings = "[Settings]\nNoMMX=" + std::to_string(kernels.noMmx) +
                               "\nVoiceLanes=" + std::to_string(kernels.voiceLanes) + "\n";
        if (library) {
            const auto plugin = std::filesystem::absolute(library) / built.filename();
            settings += "PluginPath=" + plugin.string() + "\n";
        } else {
            std::filesystem::create_directories(folder.file("Quor-Data") + "/OIP");
            std::filesystem::create_directories(folder.file("Quor-Data") + "/Raw");
            if (!playing::writeSineLibrary(folder.file("Quor-Data"))) return;
        }
        folder.write("Quor.ini", settings);
        ready = host.load(module.c_str());
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

struct Result {
    double voices = 0, nsPerVoiceSample = 0, realTimeFactor = 0;
};

// Renders blocks, calling beforeBlock(plugin) before each, until `seconds` of this thread's
// processor time are spent after a warm-up.
template <class BeforeBlock>
Result measure(Plugin& plugin, double seconds, BeforeBlock&& beforeBlock) {
    std::vector<float> left(kBlock), right(kBlock);
    for (int i = 0; i < 50; ++i) {
        beforeBlock(plugin);
        plugin.host.process(left.data(), right.data(), kBlock);
    }
    long blocks = 0;
    double voiceSamples = 0;
    const double start = platform::threadCpuSeconds();
    double used = 0;
    while (used < seconds) {
        // The clock is read once per batch: under Wine a reading costs tens of microseconds.
        for (int i = 0; i < 64; ++i) {
            beforeBlock(plugin);
            plugin.host.process(left.data(), right.data(), kBlock);
            ++blocks;
            voiceSamples += static_cast<double>(plugin.sounding()) * kBlock;
        }
        used = platform::threadCpuSeconds() - start;
    }
    Result r;
    r.voices = voiceSamples / kBlock / static_cast<double>(blocks);
    r.nsPerVoiceSample = used / voiceSamples * 1e9;
    r.realTimeFactor = static_cast<double>(blocks) * kBlock / kRate / used;
    return r;
}

Result held(Plugin& plugin, double seconds) {
    for (int n = 0; n < 32; ++n) plugin.host.noteOn(0, 40 + n, 100);
    return measure(plugin, seconds, [](Plugin&) {});
}

Result restruck(Plugin& plugin, double seconds) {
    int next = 0;
    return measure(plugin, seconds, [&next](Plugin& p) {
        for (int n = 0; n < 8; ++n, ++next) p.host.noteOn(0, 30 + next % 70, 100, n * 60);
    });
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const std::string only = argc > 2 ? argv[2] : "";
    const char* library = std::getenv("QUOR_BENCH_LIBRARY");
    std::printf("library: %s; AVX2: %s; %.1f s of thread CPU time per case\n",
                library ? library : "sine test library",
                platform::cpuFeatures().avx2 ? "yes" : "no (avx2-lanes runs 4 lanes)", seconds);
    std::printf("%-9s %-11s %7s %15s %9s\n", "case", "kernels", "voices", "ns/voice-sample", "rtf");
    int failures = 0;
    struct Case {
        const char* name;
        Result (*play)(Plugin&, double);
    };
    for (const Case& c : {Case{"held", held}, Case{"restruck", restruck}}) {
        const char* name = c.name;
        for (const Kernels& kernels : kKernels) {
            if (!only.empty() && only != kernels.name) continue;
            Plugin plugin(kernels, library);
            if (!plugin.ready) {
                std::printf("%-9s %-11s the plug-in did not load: %s\n", name, kernels.name,
                            plugin.host.error().c_str());
                ++failures;
                continue;
            }
            const Result r = c.play(plugin, seconds);
            if (r.voices < 1.0) {  // e.g. a library folder without its instruments
                std::printf("%-9s %-11s no voice sounded: nothing to measure\n", name,
                            kernels.name);
                ++failures;
                continue;
            }
            std::printf("%-9s %-11s %7.1f %15.2f %9.1f\n", name, kernels.name, r.voices,
                        r.nsPerVoiceSample, r.realTimeFactor);
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
