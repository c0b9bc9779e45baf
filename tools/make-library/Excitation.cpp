#include "Excitation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Lowpass.h"
#include "Random.h"

namespace makelib {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Layout {
    int head = 0;    // loop start
    int loop = 0;    // loop length
    int cycles = 1;  // fundamental cycles per loop
    int total() const { return head + loop; }
};

struct PlacedPartial {
    int cyclesPerLoop = 0;
    double start = 0.0;  // amplitude at the start of the head
    double loop = 0.0;   // amplitude in the loop
    double phase = 0.0;
};

double rms(const std::vector<double>& x, int from, int to) {
    double sum = 0.0;
    for (int i = from; i < to; ++i) sum += x[i] * x[i];
    return to > from ? std::sqrt(sum / (to - from)) : 0.0;
}

// 1 at the start of the head, 0 with zero slope at the loop start.
double headDecay(int n, int head) {
    if (n >= head) return 0.0;
    const double u = static_cast<double>(n) / head;
    return std::exp(-3.0 * u) * (1.0 - u) * (1.0 - u);
}

std::vector<Partial> seriesPartials(const ExcitationRecipe& recipe, double f0, double bandLimit) {
    if (!recipe.partials.empty()) return recipe.partials;
    std::vector<Partial> out;
    for (int h = 1; h * f0 < bandLimit; ++h) {
        double a = std::pow(static_cast<double>(h), recipe.slopeDb / 6.0206);
        if (h % 2 == 0) a *= recipe.evenLevel;
        if (recipe.pulseWidth > 0.0)
            a *= std::fabs(std::sin(std::numbers::pi * h * recipe.pulseWidth));
        out.push_back({static_cast<double>(h), a, 1.0});
    }
    return out;
}

std::vector<PlacedPartial> placePartials(const ExcitationRecipe& recipe, const Layout& layout,
                                         double f0, double bandLimit, Random& random) {
    const double cycleHz = kStorageRate / layout.loop;  // one cycle per loop
    std::vector<PlacedPartial> placed;
    auto add = [&](int cycles, double start, double loop) {
        if (cycles < 1 || cycles * cycleHz >= bandLimit || start == 0.0 || recipe.tonal == 0.0)
            return;
        placed.push_back({cycles, start, loop, kTwoPi * random.uniform() * recipe.randomPhase});
    };
    for (const Partial& p : seriesPartials(recipe, f0, bandLimit)) {
        const int cycles = static_cast<int>(std::lround(p.ratio * layout.cycles));
        const double loop =
            p.amplitude * p.sustain * recipe.sustain * std::pow(p.ratio, -recipe.damping);
        add(cycles, p.amplitude, loop);
        if (recipe.ensemble > 0.0) {
            add(cycles - 1, p.amplitude * recipe.ensemble, loop * recipe.ensemble);
            add(cycles + 1, p.amplitude * recipe.ensemble, loop * recipe.ensemble);
        }
    }
    return placed;
}

std::vector<double> renderPartials(const std::vector<PlacedPartial>& partials,
                                   const Layout& layout) {
    std::vector<double> out(layout.total(), 0.0);
    for (const PlacedPartial& p : partials) {
        // A rotating phasor: exact enough over a few seconds, and far cheaper than sin per sample.
        const double w = kTwoPi * p.cyclesPerLoop / layout.loop;
        const double cw = std::cos(w), sw = std::sin(w);
        double c = std::cos(p.phase), s = std::sin(p.phase);
        for (int n = 0; n < layout.total(); ++n) {
            out[n] += s * (p.loop + (p.start - p.loop) * headDecay(n, layout.head));
            const double nc = c * cw - s * sw;
            s = s * cw + c * sw;
            c = nc;
        }
    }
    return out;
}

// White noise through a one-pole high-pass and the band-limiting low-pass.
std::vector<double> bandNoise(int length, double lowHz, double highHz, Random& random) {
    std::vector<double> white(length);
    const double a = std::exp(-kTwoPi * lowHz / kStorageRate);
    double previousIn = 0.0, previousOut = 0.0;
    for (double& x : white) {
        const double in = random.bipolar();
        previousOut = a * (previousOut + in - previousIn);
        previousIn = in;
        x = previousOut;
    }
    return lowpass(white, highHz, kStorageRate);
}

// Noise for [0, total) whose loop [head, total) continues seamlessly into its own start:
// the last `fade` samples blend into the `fade` samples that precede the loop start.
std::vector<double> loopedNoise(const ExcitationRecipe& recipe, const Layout& layout,
                                double bandLimit, Random& random) {
    const int fade = std::min(layout.loop / 2, 2048);
    const std::vector<double> raw = bandNoise(layout.total() + fade, recipe.noiseLowHz,
                                              std::min(recipe.noiseHighHz, bandLimit), random);
    std::vector<double> out(raw.begin() + fade, raw.end());
    for (int i = 0; i < fade; ++i) {
        const double w = (i + 0.5) / fade * 0.5 * std::numbers::pi;
        const int n = layout.total() - fade + i;
        out[n] = raw[n + fade] * std::cos(w) + raw[n + fade - layout.loop] * std::sin(w);
    }
    double mean = 0.0;
    for (int n = layout.head; n < layout.total(); ++n) mean += out[n];
    mean /= layout.loop;
    for (double& x : out) x -= mean;
    return out;
}

void scaleTo(std::vector<double>& x, double targetRms, const Layout& layout) {
    const double level = rms(x, layout.head, layout.total());
    if (level > 0.0) {
        for (double& v : x) v *= targetRms / level;
    }
}

}  // namespace

double keyFrequency(double key) {
    return 440.0 * std::pow(2.0, (key - 69.0) / 12.0);
}

std::vector<std::int16_t> toSamples(const std::vector<double>& signal, double level,
                                    double* appliedScale) {
    double peak = 0.0;
    for (double x : signal) peak = std::max(peak, std::fabs(x));
    const double mean = rms(signal, 0, static_cast<int>(signal.size()));
    double scale = mean > 0.0 ? level / mean : 0.0;
    if (peak * scale > 0.9 * 32767.0) scale = 0.9 * 32767.0 / peak;
    if (appliedScale) *appliedScale = scale;
    std::vector<std::int16_t> out(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::lround(signal[i] * scale));
    }
    return out;
}

SampleData synthesizeExcitation(const ExcitationRecipe& recipe, const ZonePlan& zone,
                                double level) {
    Random random(recipe.seed * 1000003ull + static_cast<std::uint64_t>(zone.limit));
    const double f0 = keyFrequency(zone.rootKey);
    Layout layout;
    layout.cycles = std::max(1, static_cast<int>(std::lround(recipe.loopSeconds * f0)));
    layout.loop = static_cast<int>(std::lround(layout.cycles * kStorageRate / f0));
    if (layout.loop < 256) {  // very short loops: take more cycles
        layout.cycles *= (256 + layout.loop - 1) / layout.loop;
        layout.loop = static_cast<int>(std::lround(layout.cycles * kStorageRate / f0));
    }
    const int attack = std::max(1, static_cast<int>(recipe.attackSeconds * kStorageRate));
    layout.head = std::max(attack + 1, static_cast<int>(recipe.headSeconds * kStorageRate));

    std::vector<double> signal =
        renderPartials(placePartials(recipe, layout, f0, zone.bandLimitHz, random), layout);
    scaleTo(signal, recipe.tonal, layout);
    if (recipe.noiseLevel > 0.0) {
        std::vector<double> noise = loopedNoise(recipe, layout, zone.bandLimitHz, random);
        scaleTo(noise, recipe.noiseLevel, layout);
        for (int n = 0; n < layout.total(); ++n) signal[n] += noise[n];
    }
    if (recipe.burstLevel > 0.0) {
        const std::vector<double> burst = bandNoise(layout.head, 300.0, zone.bandLimitHz, random);
        const double decay = 1.0 / std::max(recipe.burstSeconds * kStorageRate, 1.0);
        const double norm = 1.0 / std::max(rms(burst, 0, layout.head), 1e-12);
        for (int n = 0; n < layout.head; ++n) {
            const double u = static_cast<double>(n) / layout.head;
            signal[n] +=
                recipe.burstLevel * norm * burst[n] * std::exp(-n * decay) * (1 - u) * (1 - u);
        }
    }
    for (int n = 0; n < attack; ++n) {
        signal[n] *= 0.5 - 0.5 * std::cos(std::numbers::pi * n / attack);
    }
    for (int i = 0; i < kGuardSamples; ++i) signal.push_back(signal[layout.head + i % layout.loop]);

    SampleData data;
    data.samples = toSamples(signal, level);
    data.loopStart = layout.head;
    data.loopEnd = layout.total();
    data.rootKey = zone.rootKey;
    return data;
}

}  // namespace makelib
