#include "Kit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Random.h"

namespace makelib {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kKitRoot = 16;  // key class 0 reads at about 17.5 kHz, class 7 at 26 kHz
constexpr int kSilentLoop = 256;
constexpr double kLongHitSeconds = 1.1;

enum class Hit { Crash, Kick, Snare, Rim, ClosedHat, Tom, Clap, OpenHat };
constexpr Hit kSlotHits[8] = {Hit::Crash,     Hit::Kick, Hit::Snare, Hit::Rim,
                              Hit::ClosedHat, Hit::Tom,  Hit::Clap,  Hit::OpenHat};

int position(std::int16_t entry) {
    return static_cast<std::uint16_t>(entry) & 0x3FFF;
}

// A one-pole high-pass, both for brighter noise and for removing DC from a finished hit.
void highpass(std::vector<double>& x, double hz, double rate) {
    const double a = std::exp(-kTwoPi * hz / rate);
    double previousIn = 0.0, previousOut = 0.0;
    for (double& v : x) {
        previousOut = a * (previousOut + v - previousIn);
        previousIn = v;
        v = previousOut;
    }
}

struct HitSynth {
    double rate;
    int length;
    Random random;

    std::vector<double> noise(double lowHz) {
        std::vector<double> x(length);
        for (double& v : x) v = random.bipolar();
        highpass(x, lowHz, rate);
        return x;
    }
    // A sine whose frequency glides from `from` to `to` with time constant `glide`.
    void addTone(std::vector<double>& x, double from, double to, double glide, double decay,
                 double level) {
        double phase = 0.0;
        for (int n = 0; n < length; ++n) {
            const double t = n / rate;
            const double f = to + (from - to) * std::exp(-t / glide);
            if (f < 0.45 * rate) x[n] += level * std::sin(phase) * std::exp(-t / decay);
            phase += kTwoPi * f / rate;
        }
    }
    void addNoise(std::vector<double>& x, double lowHz, double decay, double level,
                  double at = 0.0) {
        const std::vector<double> n = noise(lowHz);
        for (int i = static_cast<int>(at * rate); i < length; ++i) {
            x[i] += level * n[i] * std::exp(-(i / rate - at) / decay);
        }
    }
    void addMetal(std::vector<double>& x, double decay, double level) {
        static constexpr double kRatios[] = {1.0, 1.342, 1.718, 2.159, 2.604, 3.133};
        for (double r : kRatios) addTone(x, 2900.0 * r, 2900.0 * r, 1.0, decay, level);
    }

    std::vector<double> render(Hit hit) {
        std::vector<double> x(length, 0.0);
        switch (hit) {
            case Hit::Kick:
                addTone(x, 160.0, 48.0, 0.04, 0.22, 1.0);
                addNoise(x, 1000.0, 0.003, 0.4);
                break;
            case Hit::Snare:
                addTone(x, 190.0, 180.0, 0.02, 0.07, 0.6);
                addTone(x, 330.0, 320.0, 0.02, 0.05, 0.3);
                addNoise(x, 1500.0, 0.11, 0.7);
                break;
            case Hit::Rim:
                addTone(x, 1700.0, 1700.0, 1.0, 0.025, 0.6);
                addTone(x, 820.0, 820.0, 1.0, 0.04, 0.5);
                addNoise(x, 2000.0, 0.004, 0.6);
                break;
            case Hit::ClosedHat:
                addNoise(x, 6000.0, 0.035, 0.8);
                addMetal(x, 0.03, 0.15);
                break;
            case Hit::Tom:
                addTone(x, 150.0, 105.0, 0.06, 0.35, 1.0);
                addNoise(x, 800.0, 0.01, 0.2);
                break;
            case Hit::Clap:
                for (int i = 0; i < 4; ++i) addNoise(x, 900.0, 0.006, 0.8, 0.011 * i);
                addNoise(x, 900.0, 0.12, 0.3, 0.033);
                break;
            case Hit::OpenHat:
                addNoise(x, 5500.0, 0.3, 0.6);
                addMetal(x, 0.35, 0.12);
                break;
            case Hit::Crash:
                addNoise(x, 3500.0, 0.8, 0.6);
                addMetal(x, 0.6, 0.08);
                break;
        }
        highpass(x, 30.0, rate);
        // Fade to zero over the last fifth, so a hit never runs on into its neighbour's start.
        const int fade = std::max(1, length / 5);
        for (int n = length - fade; n < length; ++n) {
            x[n] *= 0.5 + 0.5 * std::cos(std::numbers::pi * (n - (length - fade)) / fade);
        }
        return x;
    }
};

}  // namespace

double kitReadRate(const KitMarkers& markers, int rootKey, int slot) {
    const int step = rootKey - markers.rootOffset + slot;
    return 722496915.0 / 65536.0 * std::pow(2.0, step / 12.0);
}

int kitStart(const KitMarkers& markers, int slot) {
    if (slot == 0) return position(markers.entry0);
    if (slot == 3) return position(markers.entry3);
    const int freeEnd = std::min(position(markers.entry0), position(markers.entry3));
    const int share = (freeEnd - kKitTableSize) / 6;
    const int order = slot < 3 ? slot - 1 : slot - 2;  // slots 1, 2, 4, 5, 6, 7
    return kKitTableSize + order * share;
}

SampleData makeKit(const KitMarkers& markers, double level) {
    const int rootKey = kKitRoot + markers.rootOffset - 8;
    const int last = kitStart(markers, 0) > kitStart(markers, 3) ? 0 : 3;
    const int end = kitStart(markers, last) +
                    static_cast<int>(kLongHitSeconds * kitReadRate(markers, rootKey, last));
    std::vector<double> audio(end + kSilentLoop + kGuardSamples, 0.0);
    for (int slot = 0; slot < 8; ++slot) {
        int next = end;
        for (int other = 0; other < 8; ++other) {
            const int s = kitStart(markers, other);
            if (s > kitStart(markers, slot)) next = std::min(next, s);
        }
        HitSynth synth{kitReadRate(markers, rootKey, slot), next - kitStart(markers, slot),
                       Random(0x4B17 + slot + 97 * markers.rootOffset)};
        const std::vector<double> hit = synth.render(kSlotHits[slot]);
        std::copy(hit.begin(), hit.end(), audio.begin() + kitStart(markers, slot));
    }
    SampleData data;
    data.samples = toSamples(audio, level);
    for (int key = 0; key < kKitTableSize; ++key) {
        data.samples[key] = static_cast<std::int16_t>(kitStart(markers, key & 7));
    }
    data.samples[0] = markers.entry0;
    data.samples[3] = markers.entry3;
    data.loopStart = end;
    data.loopEnd = end + kSilentLoop;
    data.rootKey = rootKey;
    return data;
}

}  // namespace makelib
