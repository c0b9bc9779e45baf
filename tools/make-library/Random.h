// A small seeded generator (SplitMix64), so that every run of the generator makes the same bytes
// whatever the standard library's generators do.
#pragma once

#include <cstdint>

namespace makelib {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [-1, 1).
    double bipolar() { return uniform() * 2.0 - 1.0; }

private:
    std::uint64_t state_;
};

}  // namespace makelib
