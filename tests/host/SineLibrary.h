// A one-instrument library for playing the plug-in: "Sine", whose Base and Top are the same
// looped sine of kPeriod samples at root key 60 and whose Filter is a mild lattice; the pitch the
// engine gives it, and a measure of the fundamental of what comes out.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "support/RawFiles.h"

namespace playing {

// Samples per cycle of the sine, and the frequency the engine plays it at on its root key
// (playback rate: 722496915 / 65536 samples per second, times the increment's tuning).
inline constexpr int kPeriod = 50;
inline constexpr int kRootKey = 60;
inline constexpr double kRootRate = 722496915.0 / 65536.0;
// "Master Tune" at its default 0.5 raises every note by 0.1 semitone.
inline constexpr double kDefaultTuneSemitones = 0.1;

inline double expectedFrequency(int note) {
    return kRootRate / kPeriod * std::pow(2.0, (note - kRootKey + kDefaultTuneSemitones) / 12.0);
}

// A Base/Top file of a sine of `period` samples: version 10, root key 60, no fine tuning, looped
// over whole sine cycles; 12 samples past the loop end keep the sine going for the interpolator.
inline std::string sineFile(int period = kPeriod) {
    constexpr int kCycles = 80;
    const std::int32_t loopEnd = kCycles * period;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(loopEnd) + 12);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * double(i) / period)));
    return rawfiles::sampleFile(samples, 0, loopEnd).bytes(rawfiles::kSampleHeader);
}

// A Filter file of order 10: four frames of small reflection coefficients with unit gain, the
// same in the plain set and in both emphasis sets.
inline std::string filterFile() {
    constexpr int kFrames = 4;
    std::vector<std::int16_t> values(64 * kFrames);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t k = i % 64 % 16 + (i % 64 >= 48 ? 16 : 0);  // 48..63 are unused
        values[i] = k < 10 ? (k % 2 ? -3000 : 3000) : k == 10 ? 32767 : 0;
    }
    return rawfiles::filterFile(values, kFrames).bytes(rawfiles::kFilterHeader);
}

inline bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

// Writes the instrument "Sine" into a data folder that has "OIP" and "Raw" folders.
inline bool writeSineLibrary(const std::string& data) {
    return writeFile(data + "/OIP/sine.xml",
                     "<oip-pool><oip name='Sine'><zone limit='127' rn='1'/></oip></oip-pool>") &&
           writeFile(data + "/Raw/B00001.raw", sineFile()) &&
           writeFile(data + "/Raw/T00001.raw", sineFile()) &&
           writeFile(data + "/Raw/L00001.raw", filterFile());
}

// The fundamental of a steady stretch, from its rising zero crossings (interpolated).
inline double fundamental(const float* x, std::size_t n, double rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < n; ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double at = static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    return crossings > 1 ? rate * (crossings - 1) / (last - first) : 0.0;
}

}  // namespace playing
