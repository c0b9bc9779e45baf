#include "Loudness.h"

#include <algorithm>
#include <cmath>

#include "Features.h"
#include "LatticeFilter.h"

namespace makelib {
namespace {

constexpr int kLength = 16384;
constexpr int kSettle = 2048;  // frames before the measurement starts

// RMS of the lattice output for full-scale layer amplitudes, in the kernel's integer units:
// the linear weights of the Base layer sum to 32000, the sinc weights of the Top layer to 32768.
double latticeRms(const SampleData& base, const SampleData& top,
                  const std::vector<FilterFrame>& frames) {
    const std::vector<double> b = representativeSignal(base, kLength);
    const std::vector<double> t = representativeSignal(top, kLength);
    LatticeFilter filter(frameCoefficients(frames[frames.size() / 2], kPlainSet));
    double sum = 0.0;
    for (int i = 0; i < kLength; ++i) {
        const double y = filter.process(static_cast<float>(b[i] * 32000.0 + t[i] * 32768.0 + 1e-4));
        if (i >= kSettle) sum += y * y;
    }
    return std::sqrt(sum / (kLength - kSettle));
}

double outputScale(int gain) {
    const double g = 0.02 * gain;
    return g * g * 1e-10;
}

}  // namespace

double voiceRms(const SampleData& base, const SampleData& top,
                const std::vector<FilterFrame>& frames, int gain) {
    return latticeRms(base, top, frames) * outputScale(gain);
}

std::uint8_t gainByteFor(const SampleData& base, const SampleData& top,
                         const std::vector<FilterFrame>& frames, double levelDb) {
    return gainByteForRms(latticeRms(base, top, frames), levelDb);
}

std::uint8_t gainByteForRms(double rms, double levelDb) {
    if (!(rms > 0.0)) return 50;
    const double target = kTargetVoiceRms * std::pow(10.0, levelDb / 20.0);
    const double gain = std::sqrt(target / (rms * 1e-10)) / 0.02;
    return static_cast<std::uint8_t>(std::clamp(std::lround(gain), 1L, 255L));
}

}  // namespace makelib
