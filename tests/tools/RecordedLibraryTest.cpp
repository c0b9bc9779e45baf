// Instruments made from the General MIDI bank's recordings (skipped when the bank is not
// installed), played as a plain preset plays them once settled, at the root keys of a low, a
// middle and a high zone: the sustain's long-term spectrum in third-octave bands matches the
// recording's, the pitch matches the recording's at its root key, the loop has no click and no DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <numbers>

#include "Catalogue.h"
#include "Features.h"
#include "LibraryBuilder.h"
#include "PlainVoice.h"
#include "RecordingAnalysis.h"
#include "SoundFont.h"

using namespace makelib;

namespace {

constexpr const char* kBank = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr int kWindow = 16384;
constexpr int kWindows = 8;
constexpr int kSpan = kWindow + (kWindows - 1) * kWindow / 4;
constexpr double kRate = 44100.0;
constexpr double kBandErrorDb = 3.0;
constexpr double kPitchCents = 2.0;
constexpr double kAudibleBandsDb = 40.0;  // bands further below the loudest are not judged

// The loop of a signal repeated to `length` samples from `offset` into it.
std::vector<double> loopFrom(const std::vector<double>& loop, std::size_t offset, int length) {
    std::vector<double> out(length);
    for (int i = 0; i < length; ++i) out[i] = loop[(offset + i) % loop.size()];
    return out;
}

std::vector<double> averagePower(const std::vector<double>& x) {
    std::vector<double> sum;
    for (int w = 0; w < kWindows; ++w) {
        const std::vector<double> p = powerSpectrumOf(std::vector<double>(
            x.begin() + w * kWindow / 4, x.begin() + w * kWindow / 4 + kWindow));
        if (sum.empty()) sum.assign(p.size(), 0.0);
        for (std::size_t i = 0; i < p.size(); ++i) sum[i] += p[i];
    }
    return sum;
}

// Levels in dB of the third-octave bands from 100 Hz to 8 kHz.
std::vector<double> thirdOctaves(const std::vector<double>& power, double rate) {
    std::vector<double> out;
    const double bin = rate / 2.0 / power.size();
    for (int b = 0; b < 20; ++b) {
        const double centre = 100.0 * std::pow(2.0, b / 3.0);
        double sum = 1e-30;
        for (std::size_t i = 0; i < power.size(); ++i) {
            const double f = i * bin;
            if (f >= centre * std::pow(2.0, -1.0 / 6.0) && f < centre * std::pow(2.0, 1.0 / 6.0))
                sum += power[i];
        }
        out.push_back(10.0 * std::log10(sum));
    }
    return out;
}

// The largest band difference (after matching the overall level) among the audible bands.
double worstBandError(const std::vector<double>& played, const std::vector<double>& source) {
    double loudest = -1e9, playedSum = 0.0, sourceSum = 0.0;
    for (std::size_t b = 0; b < source.size(); ++b) {
        loudest = std::max(loudest, source[b]);
        playedSum += std::pow(10.0, played[b] / 10.0);
        sourceSum += std::pow(10.0, source[b] / 10.0);
    }
    const double offset = 10.0 * std::log10(playedSum / sourceSum);
    double worst = 0.0;
    for (std::size_t b = 0; b < source.size(); ++b) {
        if (source[b] < loudest - kAudibleBandsDb) continue;
        const double e = played[b] - source[b] - offset;
        if (std::fabs(e) > std::fabs(worst)) worst = e;
    }
    return worst;
}

// The strongest of the first harmonics of f0 (below 5 kHz) in a power spectrum.
int strongestHarmonic(const std::vector<double>& power, double rate, double f0) {
    const double bin = rate / 2.0 / power.size();
    int best = 1;
    double strongest = 0.0;
    for (int h = 1; h <= 12 && h * f0 < 5000.0; ++h) {
        for (int i = static_cast<int>(h * f0 * 0.97 / bin); i <= h * f0 * 1.03 / bin; ++i) {
            if (power[i] > strongest) {
                strongest = power[i];
                best = h;
            }
        }
    }
    return best;
}

// The frequency of the spectral peak within 3 % of `around`, from Hann windows of `seconds`
// placed evenly over one pass of a loop that starts at `from` and lasts `loop` samples: the same
// stretch of the sound for any rate, so vibrato and beating average out alike.
double peakFrequency(const std::vector<double>& x, double rate, int from, int loop, double around) {
    constexpr int kGrid = 240, kPasses = 8;
    const int length = static_cast<int>(0.25 * rate);
    std::vector<double> power(kGrid + 1, 0.0), windowed(length);
    for (int w = 0; w < kPasses; ++w) {
        const int start = from + static_cast<int>(static_cast<long long>(w) * loop / kPasses);
        for (int i = 0; i < length; ++i)
            windowed[i] =
                x[start + i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / length));
        for (int k = 0; k <= kGrid; ++k) {  // Goertzel's recursion at each grid frequency
            const double coefficient =
                2.0 * std::cos(2.0 * std::numbers::pi * around * (0.97 + 0.06 * k / kGrid) / rate);
            double s1 = 0.0, s2 = 0.0;
            for (double v : windowed) {
                const double s0 = v + coefficient * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            power[k] += s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        }
    }
    const int k =
        static_cast<int>(std::max_element(power.begin() + 1, power.end() - 1) - power.begin());
    const double a = std::log(power[k - 1]), b = std::log(power[k]), c = std::log(power[k + 1]);
    const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
    return around * (0.97 + 0.06 * (k + shift) / kGrid);
}

struct Measured {
    double bandErrorDb, pitchCents, seamStep, dcShare;
};

Measured measureZone(const SoundFont& font, const RecordedZone& zone, const BuiltZone& built) {
    const SampleData& base = built.files.base;
    const int key = built.plan.rootKey;
    // The voice at the root key, measured in its sustain after a second of the loop.
    const int settle = base.loopStart + static_cast<int>(kRate);
    const std::vector<double> played =
        plainvoice::play(base, built.files.frames.back(), key, settle + kSpan);
    const std::vector<double> playedSustain(played.begin() + settle, played.end());
    const std::vector<double> playedPower = averagePower(playedSustain);

    // The recording's loop at the storage rate, as the zone was made from it.
    const Recording recording = loadRecording(font, zone, kMaxHeadSeconds, built.plan.bandLimitHz);
    const std::vector<double> loop(recording.signal.samples.begin() + recording.signal.loopStart,
                                   recording.signal.samples.end());
    const std::vector<double> sourcePower = averagePower(loopFrom(loop, 0, kSpan));

    // The pitch against the recording's own samples at their own rate, moved to the root key the
    // way the bank plays it there, over one pass of the loop each.
    std::vector<double> native;
    for (std::uint32_t i = zone.loopStart; i < zone.loopEnd; ++i) native.push_back(font.samples[i]);
    const int nativeLoop = static_cast<int>(native.size());
    const double nativeF0 = keyFrequency(zone.pitchKey);
    const std::vector<double> nativeRepeated = loopFrom(native, 0, kSpan + 2 * nativeLoop);
    const int harmonic = strongestHarmonic(averagePower(nativeRepeated), zone.sampleRate, nativeF0);
    const double sourceF0 =
        peakFrequency(nativeRepeated, zone.sampleRate, 0, nativeLoop, harmonic * nativeF0) /
        harmonic * std::pow(2.0, (key - zone.pitchKey) / 12.0);
    // In the played sound the loop passes start where the reading position wraps.
    const double ratio = plainvoice::readingRatio(base, key);
    const int playedLoop = static_cast<int>(std::lround((base.loopEnd - base.loopStart) / ratio));
    const int playedFrom = static_cast<int>(std::ceil((base.loopEnd - 1) / ratio)) + playedLoop;
    const std::vector<double> longer =
        plainvoice::play(base, built.files.frames.back(), key, playedFrom + 2 * playedLoop + kSpan);
    const double playedF0 =
        peakFrequency(longer, kRate, playedFrom, playedLoop, harmonic * keyFrequency(key)) /
        harmonic;

    // The seam: the step where the loop wraps against the largest step inside it.
    double largest = 0.0, mean = 0.0, power = 0.0;
    for (int i = base.loopStart + 1; i < base.loopEnd; ++i) {
        largest = std::max(largest, std::fabs(double(base.samples[i]) - base.samples[i - 1]));
        mean += base.samples[i];
        power += double(base.samples[i]) * base.samples[i];
    }
    const int n = base.loopEnd - base.loopStart - 1;
    return {worstBandError(thirdOctaves(playedPower, kRate), thirdOctaves(sourcePower, kRate)),
            1200.0 * std::log2(playedF0 / sourceF0),
            std::fabs(double(base.samples[base.loopStart]) - base.samples[base.loopEnd - 1]) /
                std::max(largest, 1.0),
            std::fabs(mean / n) / std::sqrt(power / n + 1e-9)};
}

}  // namespace

TEST(RecordedLibrary, PlainPresetsPlayTheRecordingsBack) {
    if (!std::filesystem::exists(kBank)) GTEST_SKIP() << "no sound bank at " << kBank;
    SoundFont font;
    std::string error;
    ASSERT_TRUE(readSoundFontFile(kBank, &font, &error)) << error;
    const char* names[] = {"Choir Aah", "Cello", "Oboe", "Trumpet", "Nylon Guitar"};
    for (const InstrumentRecipe& recipe : catalogue()) {
        if (std::find(std::begin(names), std::end(names), recipe.name) == std::end(names)) continue;
        const std::vector<RecordedZone> zones = loopedZones(font, recipe.recording);
        const std::vector<BuiltZone> built = makeInstrument(recipe, &font);
        ASSERT_EQ(built.size(), zones.size()) << recipe.name;
        ASSERT_GE(built.size(), 3u) << recipe.name;
        for (std::size_t z : {std::size_t{0}, built.size() / 2, built.size() - 1}) {
            ASSERT_TRUE(built[z].recorded);
            const Measured m = measureZone(font, zones[z], built[z]);
            std::printf(
                "%-14s key %3d: worst band %+5.2f dB, pitch %+5.2f cents, seam %.2f, DC %.4f\n",
                recipe.name.c_str(), built[z].plan.rootKey, m.bandErrorDb, m.pitchCents, m.seamStep,
                m.dcShare);
            const std::string where = recipe.name + " key " + std::to_string(built[z].plan.rootKey);
            EXPECT_LE(std::fabs(m.bandErrorDb), kBandErrorDb) << where;
            EXPECT_LE(std::fabs(m.pitchCents), kPitchCents) << where;
            EXPECT_LE(m.seamStep, 1.0) << where << ": the loop clicks where it wraps";
            EXPECT_LT(m.dcShare, 0.01) << where;
        }
    }
}

// Struck instruments leave most of their residual in the strike: their quiet zones must still
// reach their level, with a gain byte short of its ceiling.
TEST(RecordedLibrary, QuietZonesReachTheirLevel) {
    if (!std::filesystem::exists(kBank)) GTEST_SKIP() << "no sound bank at " << kBank;
    SoundFont font;
    std::string error;
    ASSERT_TRUE(readSoundFontFile(kBank, &font, &error)) << error;
    for (const InstrumentRecipe& recipe : catalogue()) {
        if (recipe.name != "Glockenspiel" && recipe.name != "Vibraphone") continue;
        for (const BuiltZone& zone : makeInstrument(recipe, &font)) {
            EXPECT_TRUE(zone.recorded);
            EXPECT_LT(zone.gain, 255) << recipe.name << " key " << zone.plan.rootKey;
        }
    }
}
