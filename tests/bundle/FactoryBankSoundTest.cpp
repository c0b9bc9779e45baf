// Every factory preset of the generated library, played through the built module at 44100 Hz the
// way a host plays it: a held chord and a melodic phrase. Each must be finite, below full scale,
// free of DC and of clicks where notes start and stop, fall silent after its release and sound
// about as loud as the rest of the bank. A plain preset must be in tune.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bundle/SoundChecks.h"
#include "core/Orin.h"
#include "core/PParamDesc.h"
#include "core/PPreset.h"
#include "core/PProgram.h"
#include "host/SineLibrary.h"
#include "hostlib/VstHost.h"
#include "platform/TempFolder.h"
#include "quor-render/Renderer.h"

namespace {

using namespace soundcheck;

constexpr double kRate = 44100.0;
constexpr std::int32_t kBlock = 512;
constexpr std::size_t kLead = 2205;           // 50 ms of silence before the first note
constexpr std::size_t kMaxTail = 15 * 44100;  // the longest release tail allowed
constexpr float kSilence = 1.0f / 32768.0f;   // below one step of a 16-bit file
constexpr double kLoudnessSpreadDb = 6.0;
// A mallet's strike makes steps up to about 4.5 times those of the ringing that follows; a tone
// starting or stopping mid-cycle makes steps ten or more times larger.
constexpr double kClickRatio = 6.0;
constexpr double kDcShare = 0.02;  // mean against RMS

struct NoteEvent {
    std::size_t frame;
    int note;
    bool on;
};

struct Take {
    Signal left, right;
    std::vector<std::size_t> onsets, releases;
};

// A copy of the built module beside the generated library, loaded, at 44100 Hz, resumed. The
// settings file beside it holds `settings` (the kernel choice).
class Bundle {
public:
    explicit Bundle(const std::string& settings = "") {
        const std::filesystem::path built(QUOR_MODULE_PATH);
        const std::string module = folder_.file(built.filename().string());
        std::filesystem::copy_file(built, module);
        if (!settings.empty()) folder_.write("Quor.ini", "[Settings]\n" + settings);
        std::filesystem::create_directory_symlink(QUOR_BUNDLE_LIBRARY, folder_.file("Quor-Data"));
        loaded_ = host_.load(module.c_str());
        if (!loaded_) return;
        host_.open();
        host_.setSampleRate(static_cast<float>(kRate));
        host_.setBlockSize(kBlock);
        host_.resume();
    }
    bool loaded() const { return loaded_; }
    std::string error() const { return host_.error(); }
    VstHost& host() { return host_; }
    Orin& plugin() {
        return *static_cast<Orin*>(static_cast<AudioEffect*>(host_.effect()->object));
    }

    // Program changes apply at once on resume, whatever the plug-in's pacing of them.
    void selectProgram(int program) {
        host_.setProgram(program);
        host_.suspend();
        host_.resume();
    }
    // A MIDI program change, as a host sends it; the program-name query lets it apply now.
    void selectPreset(int preset) {
        std::vector<float> scratch(2 * kBlock);
        host_.sendMidi(0xC0, static_cast<std::uint8_t>(preset), 0);
        host_.process(scratch.data(), scratch.data() + kBlock, kBlock);
        host_.programName();
    }
    const char* presetName(int program, int preset) {
        return plugin().program(program)->preset(preset)->name();
    }

    // Plays the events, then renders the release tail until silence as long as the renderer's,
    // which outlasts the gaps between echoes (or kMaxTail after the last event).
    Take play(const std::vector<NoteEvent>& events) {
        Take take;
        const std::size_t lastEvent = events.back().frame;
        const auto silentNeeded =
            static_cast<std::size_t>(quorrender::tailSilenceSeconds() * kRate);
        std::vector<float> left(kBlock), right(kBlock);
        std::size_t silentRun = 0;
        for (std::size_t at = 0;
             at <= lastEvent || (silentRun < silentNeeded && at < lastEvent + kMaxTail);
             at += kBlock) {
            for (const NoteEvent& e : events) {
                if (e.frame < at || e.frame >= at + kBlock) continue;
                const auto delta = static_cast<std::int32_t>(e.frame - at);
                if (e.on)
                    host_.noteOn(0, e.note, 100, delta);
                else
                    host_.noteOff(0, e.note, delta);
            }
            host_.process(left.data(), right.data(), kBlock);
            take.left.insert(take.left.end(), left.begin(), left.end());
            take.right.insert(take.right.end(), right.begin(), right.end());
            const float loudest =
                std::max(peak(left, 0, left.size()), peak(right, 0, right.size()));
            silentRun = loudest < kSilence ? silentRun + kBlock : 0;
        }
        for (const NoteEvent& e : events) (e.on ? take.onsets : take.releases).push_back(e.frame);
        return take;
    }

private:
    TempFolder folder_;
    VstHost host_;
    bool loaded_ = false;
};

std::vector<NoteEvent> heldChord() {
    const std::size_t release = kLead + 66150;  // held 1.5 s
    std::vector<NoteEvent> events;
    for (int note : {57, 60, 64}) events.push_back({kLead, note, true});
    for (int note : {57, 60, 64}) events.push_back({release, note, false});
    return events;
}

std::vector<NoteEvent> melodicPhrase() {
    std::vector<NoteEvent> events;
    std::size_t at = kLead;
    for (int note : {60, 64, 67, 72, 71, 67, 62, 60}) {
        events.push_back({at, note, true});
        events.push_back({at + 9261, note, false});  // 0.21 s of each 0.25 s
        at += 11025;
    }
    return events;
}

// What is wrong with one take, or an empty text.
std::string faults(const Take& take) {
    std::ostringstream out;
    for (const Signal* channel : {&take.left, &take.right}) {
        const Signal& x = *channel;
        const char* side = channel == &take.left ? "left" : "right";
        if (!allFinite(x)) {
            out << side << ": NaN or infinite samples; ";
            continue;
        }
        if (peak(x, 0, kLead) >= kSilence)
            out << side << ": sound before the first note (" << toDb(peak(x, 0, kLead)) << " dB); ";
        const float top = peak(x, 0, x.size());
        if (top >= 1.0f) out << side << ": peak " << toDb(top) << " dBFS; ";
        const std::size_t end = take.releases.back();
        const double level = rms(x, kLead, end);
        const double dc = mean(x, kLead, x.size());
        if (std::fabs(dc) > kDcShare * level + 1e-6)
            out << side << ": DC " << dc << " against RMS " << level << "; ";
        const double onset = clickRatio(x, take.onsets.front());
        if (onset > kClickRatio) out << side << ": click at the first note (" << onset << "x); ";
        const double release = clickRatio(x, end);
        if (release > kClickRatio) out << side << ": click at the release (" << release << "x); ";
        if (framesToSilence(x, end, kSilence) == static_cast<std::size_t>(-1))
            out << side << ": still sounding " << kMaxTail / kRate << " s after the release; ";
    }
    const double loudness = loudestMomentLufs(take.left, take.right, kRate);
    if (loudness < -60.0) out << "no sound (" << loudness << " LUFS); ";
    return out.str();
}

// Calls play(description) with each designed preset of the factory bank selected in every
// bundle; places the bank leaves at their initial state are not designed sounds.
template <typename Play>
void forEachFactoryPreset(std::initializer_list<Bundle*> bundles, Play play) {
    const auto initial = std::make_unique<PProgram>();
    Bundle& first = **bundles.begin();
    for (int program = 0; program < Orin::kNumPrograms; ++program) {
        for (Bundle* bundle : bundles) bundle->selectProgram(program);
        for (int preset = 0; preset < PProgram::kPresetCount; ++preset) {
            const std::string name = first.presetName(program, preset);
            if (name == initial->preset(preset)->name()) continue;
            if (preset > 0)
                for (Bundle* bundle : bundles) bundle->selectPreset(preset);
            play("program " + std::to_string(program + 1) + " preset " +
                 std::to_string(preset + 1) + " \"" + name + "\"");
        }
    }
}

TEST(FactoryBankSound, EveryPresetPlaysCleanlyAndAboutAsLoudAsTheBank) {
    Bundle bundle;
    ASSERT_TRUE(bundle.loaded()) << bundle.error();
    std::vector<std::pair<std::string, double>> rated;
    forEachFactoryPreset({&bundle}, [&](const std::string& where) {
        const Take chord = bundle.play(heldChord()), phrase = bundle.play(melodicPhrase());
        EXPECT_EQ(faults(chord), "") << where << ", held chord";
        EXPECT_EQ(faults(phrase), "") << where << ", phrase";
        rated.emplace_back(where, std::max(loudestMomentLufs(chord.left, chord.right, kRate),
                                           loudestMomentLufs(phrase.left, phrase.right, kRate)));
    });
    ASSERT_GE(rated.size(), 64u) << "the factory program alone holds 64 presets";
    std::vector<double> levels;
    for (const auto& r : rated) levels.push_back(r.second);
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    const double median = levels[levels.size() / 2];
    for (const auto& [where, loudness] : rated) {
        EXPECT_NEAR(loudness, median, kLoudnessSpreadDb)
            << where << " against the bank's median of " << median << " LUFS";
    }
}

// Voices side by side in SSE2 and AVX2 lanes against the portable kernels, preset by preset.
TEST(FactoryBankSound, EveryPresetSoundsTheSameInLanesAsWithThePortableKernels) {
    Bundle portable("NoMMX=1\n"), sse2("VoiceLanes=4\n"), avx2("VoiceLanes=8\n");
    ASSERT_TRUE(portable.loaded() && sse2.loaded() && avx2.loaded()) << portable.error();
    auto differences = [](const Take& reference, const Take& lanes) {
        std::ostringstream out;
        const float top = std::max(peak(reference.left, 0, reference.left.size()),
                                   peak(reference.right, 0, reference.right.size()));
        for (auto side : {&Take::left, &Take::right}) {
            // A tail may end a block apart where it crosses the silence threshold.
            const Signal &a = reference.*side, &b = lanes.*side;
            float worst = 0.0f;
            for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
                worst = std::max(worst, std::fabs(a[i] - b[i]));
            if (!(worst <= 1e-5f * top))
                out << "peak difference " << worst / top << " of the peak; ";
        }
        return out.str();
    };
    int presets = 0;
    forEachFactoryPreset({&portable, &sse2, &avx2}, [&](const std::string& where) {
        ++presets;
        for (const auto& events : {heldChord(), melodicPhrase()}) {
            const Take reference = portable.play(events);
            EXPECT_EQ(differences(reference, sse2.play(events)), "") << where << ", SSE2 lanes";
            EXPECT_EQ(differences(reference, avx2.play(events)), "") << where << ", AVX2 lanes";
        }
    });
    EXPECT_GE(presets, 64);
}

// The plain sine preset, its vibrato turned off, plays note 69 at 440 Hz raised by the default
// "Master Tune" offset of a tenth of a semitone.
TEST(FactoryBankSound, APlainPresetIsInTune) {
    Bundle bundle;
    ASSERT_TRUE(bundle.loaded()) << bundle.error();
    int found = -1;
    for (int program = 0; program < Orin::kNumPrograms && found < 0; ++program) {
        for (int preset = 0; preset < PProgram::kPresetCount; ++preset) {
            if (std::strcmp(bundle.presetName(program, preset), "Sine Wave") != 0) continue;
            bundle.selectProgram(program);
            if (preset > 0) bundle.selectPreset(preset);
            found = preset;
            break;
        }
    }
    ASSERT_GE(found, 0) << "no plain \"Sine Wave\" preset in the factory bank";
    EXPECT_FLOAT_EQ(bundle.host().parameter(kParamMasterTune),
                    paramDesc(kParamMasterTune)->defaultValue);
    bundle.host().setParameter(findParameterByName("Pitch LFO Amount"), 0.0f);

    const Take take = bundle.play({{kLead, 69, true}, {kLead + 2 * 44100, 69, false}});
    // The second second: past the attack, a steady tone.
    const double f = playing::fundamental(&take.left[kLead + 44100], 44100, kRate);
    const double expected = 440.0 * std::pow(2.0, 0.1 / 12.0);
    EXPECT_NEAR(f, expected, expected * 0.0005) << "measured " << f << " Hz";
}

// The checks themselves: each fault they look for is found in a signal made to have it.
TEST(SoundChecks, FindTheFaultsTheyLookFor) {
    const auto tone = [](std::size_t n, double level, double dc, bool fade) {
        Signal x(n, 0.0f);
        for (std::size_t i = kLead; i < n; ++i) {
            const double ramp = fade ? std::min(1.0, double(i - kLead) / 441.0) : 1.0;
            x[i] = static_cast<float>(
                dc + level * ramp *
                         std::sin(2.0 * 3.141592653589793 * 440.0 * (i - kLead) / kRate + 1.0));
        }
        return x;
    };
    const std::size_t n = kLead + 44100;
    EXPECT_LT(clickRatio(tone(n, 0.5, 0.0, true), kLead), kClickRatio);
    EXPECT_GT(clickRatio(tone(n, 0.5, 0.0, false), kLead), kClickRatio);  // starts mid-cycle

    const Signal offset = tone(n, 0.5, 0.05, true);
    EXPECT_GT(std::fabs(mean(offset, kLead, n)), kDcShare * rms(offset, kLead, n));
    const Signal clean = tone(n, 0.5, 0.0, true);
    EXPECT_LT(std::fabs(mean(clean, kLead, n)), kDcShare * rms(clean, kLead, n));

    // A full-scale 1 kHz sine on one channel reads -3 LUFS; at half scale on both, -6.
    Signal sine(n);
    for (std::size_t i = 0; i < n; ++i)
        sine[i] = 0.5f * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / kRate);
    EXPECT_NEAR(loudestMomentLufs(sine, sine, kRate), -6.02, 0.1);
    EXPECT_EQ(framesToSilence(clean, kLead, kSilence), static_cast<std::size_t>(-1));
    Signal ended = clean;
    std::fill(ended.begin() + kLead + 1000, ended.end(), 0.0f);
    EXPECT_LE(framesToSilence(ended, kLead, kSilence), 1000u);
}

}  // namespace
