#include "EnvelopeShape.h"

#include <algorithm>
#include <cmath>

namespace makelib {
namespace {

double geometric(double a, double b, double t) {
    return a * std::pow(b / a, t);
}

// Limits the range below the peak to 50 dB (so a 16-bit input gain can still express the filter
// and no reflection coefficient has to come close to 1), then scales to mean 1.
void normalise(std::vector<double>& power) {
    const double floor = *std::max_element(power.begin(), power.end()) * 1e-5;
    for (double& p : power) p = std::max(p, floor);
    double sum = 0.0;
    for (double p : power) sum += p;
    const double scale = sum > 0.0 ? static_cast<double>(power.size()) / sum : 1.0;
    for (double& p : power) p *= scale;
}

}  // namespace

EnvelopeShape blendShapes(const EnvelopeShape& a, const EnvelopeShape& b, double t) {
    EnvelopeShape out;
    out.tiltDbPerOctave = a.tiltDbPerOctave + (b.tiltDbPerOctave - a.tiltDbPerOctave) * t;
    out.cutoff = geometric(a.cutoff, b.cutoff, t);
    const std::size_t count = std::max(a.resonances.size(), b.resonances.size());
    for (std::size_t i = 0; i < count; ++i) {
        const bool inA = i < a.resonances.size();
        const bool inB = i < b.resonances.size();
        Resonance from = inA ? a.resonances[i] : b.resonances[i];
        Resonance to = inB ? b.resonances[i] : a.resonances[i];
        // A resonance present on one side only fades from (or to) 30 dB below its height.
        if (!inA) from.gainDb -= 30.0;
        if (!inB) to.gainDb -= 30.0;
        out.resonances.push_back({geometric(from.frequency, to.frequency, t),
                                  geometric(from.bandwidth, to.bandwidth, t),
                                  from.gainDb + (to.gainDb - from.gainDb) * t});
    }
    return out;
}

EnvelopeShape scaleFrequencies(const EnvelopeShape& shape, double factor) {
    EnvelopeShape out = shape;
    for (Resonance& r : out.resonances) {
        r.frequency *= factor;
        r.bandwidth *= factor;
    }
    out.cutoff *= factor;
    return out;
}

std::vector<double> powerSpectrum(const EnvelopeShape& shape, double sampleRate, int bins) {
    std::vector<double> power(bins);
    const double nyquist = sampleRate * 0.5;
    for (int i = 0; i < bins; ++i) {
        const double f = (i + 0.5) * nyquist / bins;
        double level = 1.0;  // the floor
        for (const Resonance& r : shape.resonances) {
            const double x = (f - r.frequency) / (0.5 * r.bandwidth);
            level += (std::pow(10.0, r.gainDb / 10.0) - 1.0) / (1.0 + x * x);
        }
        const double octaves = std::log2(std::max(f, 200.0) / 200.0);
        const double tilt = std::pow(10.0, shape.tiltDbPerOctave * octaves / 10.0);
        const double ratio = f / shape.cutoff;
        const double highCut = 1.0 / (1.0 + ratio * ratio * ratio * ratio);
        power[i] = level * tilt * highCut;
    }
    normalise(power);
    return power;
}

std::vector<double> reshape(const std::vector<double>& power, double exponent) {
    std::vector<double> out(power.size());
    for (std::size_t i = 0; i < power.size(); ++i) out[i] = std::pow(power[i], exponent);
    normalise(out);
    return out;
}

}  // namespace makelib
