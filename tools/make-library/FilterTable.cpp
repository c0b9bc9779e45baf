#include "FilterTable.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "Lpc.h"

namespace makelib {
namespace {

constexpr int kAnalysisBins = 1024;
constexpr double kLargestReflection = 0.9985;  // keeps every pole strictly inside the unit circle

std::int16_t toFraction(double value) {
    const double clamped = std::clamp(value, -kLargestReflection, kLargestReflection);
    return static_cast<std::int16_t>(std::lround(clamped * 32768.0));
}

void writeSet(FilterFrame& frame, int set, const std::vector<double>& power, double exponent) {
    const std::vector<double> r = autocorrelation(reshape(power, exponent), kFilterOrder);
    const LpcModel model = levinsonDurbin(r);
    for (int i = 0; i < kFilterOrder; ++i) frame[set + i] = toFraction(model.reflection[i]);
    // The gain makes the model's power response average 1 over all frequencies, like the envelope.
    frame[set + kFilterOrder] = toFraction(std::sqrt(model.error));
}

}  // namespace

std::vector<FilterFrame> makeFilterFrames(const EnvelopeShape& opened, const EnvelopeShape& settled,
                                          int frameCount) {
    std::vector<FilterFrame> frames(std::max(frameCount, 1));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double t = frames.size() > 1 ? static_cast<double>(i) / (frames.size() - 1) : 0.0;
        const std::vector<double> power =
            powerSpectrum(blendShapes(opened, settled, t), kAnalysisRate, kAnalysisBins);
        FilterFrame& frame = frames[i];
        frame.fill(0);
        writeSet(frame, kPlainSet, power, 1.0);
        writeSet(frame, kPositiveSet, power, kSharpenExponent);
        writeSet(frame, kNegativeSet, power, kFlattenExponent);
    }
    return frames;
}

FilterFrame filterFrameFromSpectrum(std::vector<double> power) {
    // A floor 50 dB below the peak, as for designed envelopes: the model then needs no
    // reflection coefficient at the edge of stability to follow a near-empty band.
    const double floor = *std::max_element(power.begin(), power.end()) * 1e-5 + 1e-30;
    for (double& p : power) p += floor;
    FilterFrame frame;
    frame.fill(0);
    writeSet(frame, kPlainSet, power, 1.0);
    const LpcModel model = levinsonDurbin(autocorrelation(reshape(power, 1.0), kFilterOrder));
    const std::vector<double> a = directForm(model.reflection);
    std::vector<double> envelope(power.size());
    for (std::size_t i = 0; i < envelope.size(); ++i) {
        const double w = std::numbers::pi * (static_cast<double>(i) + 0.5) / envelope.size();
        std::complex<double> sum = 1.0;
        for (std::size_t j = 0; j < a.size(); ++j) sum += a[j] * std::polar(1.0, -w * (j + 1.0));
        envelope[i] = 1.0 / std::norm(sum);
    }
    writeSet(frame, kPositiveSet, envelope, kSharpenExponent);
    writeSet(frame, kNegativeSet, envelope, kFlattenExponent);
    return frame;
}

std::vector<float> frameCoefficients(const FilterFrame& frame, int set) {
    std::vector<float> k(kFilterOrder + 1);
    for (int j = 0; j <= kFilterOrder; ++j) {
        const float value = static_cast<float>(frame[set + j]) * 3.0517e-05f;
        k[j] = std::fabs(value) < 1e-6f ? 1e-6f : value;
    }
    return k;
}

}  // namespace makelib
