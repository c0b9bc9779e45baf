#include "Lowpass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace makelib {

std::vector<double> lowpass(const std::vector<double>& signal, double stopHz, double sampleRate) {
    constexpr int kHalf = 96;
    // A Blackman window's transition band is about 5.5 / taps of the sample rate wide; the cut
    // sits below the stop frequency by that much.
    const double transition = 5.5 / (2 * kHalf + 1) * sampleRate;
    const double cutoff = std::max(stopHz - transition * 0.5, transition) / sampleRate;
    std::vector<double> taps(2 * kHalf + 1);
    double sum = 0.0;
    for (int i = -kHalf; i <= kHalf; ++i) {
        const double x = 2.0 * std::numbers::pi * cutoff * i;
        const double sinc = i == 0 ? 1.0 : std::sin(x) / x;
        const double phase = std::numbers::pi * (i + kHalf) / kHalf;
        const double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
        taps[i + kHalf] = sinc * window;
        sum += taps[i + kHalf];
    }
    for (double& t : taps) t /= sum;

    const int n = static_cast<int>(signal.size());
    std::vector<double> out(n, 0.0);
    for (int i = 0; i < n; ++i) {
        double acc = 0.0;
        const int from = std::max(-kHalf, -i);
        const int to = std::min(kHalf, n - 1 - i);
        for (int j = from; j <= to; ++j) acc += taps[j + kHalf] * signal[i + j];
        out[i] = acc;
    }
    return out;
}

}  // namespace makelib
