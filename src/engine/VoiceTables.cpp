#include "engine/VoiceTables.h"

#include <cmath>

namespace {

void buildDecay(float* decay) {
    decay[0] = 1.0f;
    for (int i = 1; i < kDecayEntries; ++i) decay[i] = decay[i - 1] * 0.93f;
    decay[kDecayEntries - 1] = 0.0f;  // lets the envelope curves reach silence exactly
}

// A raised-cosine-windowed sinc written as a short cosine series: for offset d from the
// interpolation point, c(d) = 0.2 * sum_j w[j] * cos(j * pi/5 * d).
void buildSinc(std::int16_t (*sinc)[kSincRowLength]) {
    constexpr double kPi = 3.14159265359;
    constexpr double kWeights[5] = {0.5, 1.0, 1.0, 1.0, 0.3904};
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        const double f = phase / 256.0;
        for (int tap = 0; tap < kSincRowLength; ++tap) {
            if (tap >= kSincTaps) {
                sinc[phase][tap] = 0;
                continue;
            }
            double sum = 0.0;
            for (int j = 0; j < 5; ++j)
                sum += kWeights[j] * std::cos(j * kPi / 5.0 * (4.5 - tap + f));
            sinc[phase][tap] = static_cast<std::int16_t>(0.2 * sum * 32768.0);
        }
    }
}

void buildLinear(std::int16_t (*linear)[kLinearRowLength]) {
    for (int phase = 0; phase < kInterpolationPhases; ++phase) {
        const double f = phase / 256.0;
        linear[phase][0] = static_cast<std::int16_t>((1.0 - f) * 32000.0);
        linear[phase][1] = static_cast<std::int16_t>(f * 32000.0);
        linear[phase][2] = 0;
        linear[phase][3] = 0;
    }
}

}  // namespace

void buildVoiceTables(VoiceTables& tables) {
    buildDecay(tables.decay);
    buildSinc(tables.sinc);
    buildLinear(tables.linear);
}
