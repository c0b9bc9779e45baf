#include "Resample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace makelib {
namespace {

constexpr int kHalfTaps = 48;       // kernel reach on each side, in input samples
constexpr int kPhases = 512;        // kernel table resolution between input samples
constexpr double kPassBand = 0.92;  // of the lower Nyquist frequency

// A Blackman-windowed sinc sampled at kPhases points per input sample, with a cutoff relative to
// the input's Nyquist frequency; entry (phase, tap) weighs input sample floor(t) + tap - kHalfTaps
// + 1 for a position t whose fractional part is phase / kPhases.
std::vector<double> kernelTable(double cutoff) {
    std::vector<double> table((kPhases + 1) * 2 * kHalfTaps);
    for (int phase = 0; phase <= kPhases; ++phase) {
        const double fraction = static_cast<double>(phase) / kPhases;
        double sum = 0.0;
        double* row = &table[phase * 2 * kHalfTaps];
        for (int tap = 0; tap < 2 * kHalfTaps; ++tap) {
            const double d = tap - kHalfTaps + 1 - fraction;
            const double x = std::numbers::pi * cutoff * d;
            const double sinc = std::fabs(x) < 1e-12 ? 1.0 : std::sin(x) / x;
            const double a = std::numbers::pi * d / kHalfTaps;
            const double window = std::fabs(d) >= kHalfTaps
                                      ? 0.0
                                      : 0.42 + 0.5 * std::cos(a) + 0.08 * std::cos(2.0 * a);
            row[tap] = sinc * window;
            sum += row[tap];
        }
        for (int tap = 0; tap < 2 * kHalfTaps; ++tap) row[tap] /= sum;  // unity gain at DC
    }
    return table;
}

}  // namespace

LoopedSignal resampleLooped(const LoopedSignal& input, double step, double cutoff,
                            double* actualStep) {
    const int loopLength = input.loopEnd - input.loopStart;
    const int outLoop = std::max(1, static_cast<int>(std::lround(loopLength / step)));
    step = static_cast<double>(loopLength) / outLoop;
    *actualStep = step;
    // Input sample i, with the loop repeating past its end.
    const auto at = [&](long long i) {
        if (i < 0) return 0.0;
        if (i >= input.loopEnd) i = input.loopStart + (i - input.loopStart) % loopLength;
        return input.samples[static_cast<std::size_t>(i)];
    };
    // The kernel's cutoff in units of the input's Nyquist frequency: below it (against images
    // when reading slower), below the output's (against aliases when reading faster) and below
    // the cutoff asked for.
    const std::vector<double> table =
        kernelTable(std::min({kPassBand, kPassBand / step, cutoff / step}));
    LoopedSignal out;
    // The output loop starts where the kernel no longer reaches before the input's loop start.
    out.loopStart = static_cast<int>(std::ceil((input.loopStart + kHalfTaps) / step));
    out.loopEnd = out.loopStart + outLoop;
    out.samples.resize(out.loopEnd);
    for (int n = 0; n < out.loopEnd; ++n) {
        const double t = n * step;
        const double base = std::floor(t);
        const double phase = (t - base) * kPhases;
        const int p = std::min(static_cast<int>(phase), kPhases - 1);
        const double u = phase - p;
        const double* row0 = &table[p * 2 * kHalfTaps];
        const double* row1 = row0 + 2 * kHalfTaps;
        const long long first = static_cast<long long>(base) - kHalfTaps + 1;
        double sum = 0.0;
        for (int tap = 0; tap < 2 * kHalfTaps; ++tap) {
            sum += at(first + tap) * (row0[tap] + (row1[tap] - row0[tap]) * u);
        }
        out.samples[n] = sum;
    }
    return out;
}

}  // namespace makelib
