// A one-instrument library for playing the plug-in: "Sine", whose Base and Top are the same
// looped sine of kPeriod samples at root key 60 and whose Filter is a mild lattice; the pitch the
// engine gives it, and a measure of the fundamental of what comes out.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>

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

inline void put(std::string& bytes, std::size_t offset, const void* value, std::size_t size) {
    std::memcpy(&bytes[offset], value, size);
}

// A Base/Top file: version 10, root key 60, no fine tuning, looped over whole sine cycles; 12
// samples past the loop end keep the sine going for the interpolator.
inline std::string sineFile() {
    constexpr int kCycles = 80;
    const std::int32_t loopEnd = kCycles * kPeriod, samples = loopEnd + 12;
    std::string bytes(16 + 2 * static_cast<std::size_t>(samples), '\0');
    bytes[0] = 10;
    bytes[2] = kRootKey;
    bytes[3] = 50;
    put(bytes, 12, &loopEnd, 4);
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<std::int16_t>(
            std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * i / kPeriod)));
        put(bytes, 16 + 2 * static_cast<std::size_t>(i), &v, 2);
    }
    return bytes;
}

// A Filter file of order 10: four frames of small reflection coefficients with unit gain, the
// same in the plain set and in both emphasis sets.
inline std::string filterFile() {
    constexpr std::int32_t kFrames = 4;
    constexpr std::int16_t kOrder = 10;
    std::string bytes(64 + 128 * static_cast<std::size_t>(kFrames), '\0');
    bytes[1] = 50;
    put(bytes, 12, &kFrames, 4);
    put(bytes, 38, &kOrder, 2);
    for (int i = 0; i < 64 * kFrames; ++i) {
        const int k = i % 64 % 16 + (i % 64 >= 48 ? 16 : 0);  // 48..63 are unused
        const std::int16_t v = k < 10 ? (k % 2 ? -3000 : 3000) : k == 10 ? 32767 : 0;
        put(bytes, 64 + 2 * static_cast<std::size_t>(i), &v, 2);
    }
    return bytes;
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
