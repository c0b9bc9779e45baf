// A zone played the way the voice plays a plain preset once its Filter envelope has settled: the
// Base layer read with 16-bit linear interpolation at the voice's rate for a key, looping at its
// loop end, through the lattice of one frame, in the kernel's integer units.
#pragma once

#include <cmath>
#include <vector>

#include "Excitation.h"
#include "FilterTable.h"
#include "LatticeFilter.h"

namespace plainvoice {

// Output frames per second at which the voice reads a sample two octaves down (the zone
// transpose makes up for it), and thus the reading rate at the root key.
inline double readingRatio(const makelib::SampleData& s, int key) {
    const double voiceRate = 722496915.0 / 65536.0 * 4.0 / 44100.0;
    return voiceRate * (1.0 + (s.fineTune - 50) * 0.001) * std::pow(2.0, (key - s.rootKey) / 12.0);
}

inline std::vector<double> play(const makelib::SampleData& s, const makelib::FilterFrame& frame,
                                int key, int length) {
    makelib::LatticeFilter filter(makelib::frameCoefficients(frame, makelib::kPlainSet));
    const auto increment = static_cast<long long>(readingRatio(s, key) * 65536.0);
    long long position = 0;  // in 1/65536 samples
    std::vector<double> out(length);
    for (int n = 0; n < length; ++n) {
        const long long i = position >> 16;
        const double u = static_cast<double>(position & 0xFFFF) / 65536.0;
        const double v = s.samples[i] * (1.0 - u) + s.samples[i + 1] * u;
        out[n] = filter.process(static_cast<float>(v * 32000.0));
        position += increment;
        if ((position >> 16) >= s.loopEnd)
            position -= static_cast<long long>(s.loopEnd - s.loopStart) << 16;
    }
    return out;
}

}  // namespace plainvoice
