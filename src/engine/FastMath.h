// Rounding and powers of two for the per-block work of the voices and effects. Some C libraries
// (the one the Windows build links) save and restore the floating-point environment in
// std::nearbyint and compute std::exp on the x87 unit, at tens of times the cost of these; with
// dozens of voices each calling them at every control block, that showed as a fixed cost per
// block.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

// Nearest integer, ties to even (the rounding mode, which nothing here changes), for values well
// inside the range of the result.
inline int roundToEven(float x) {
    return static_cast<int>(std::lrint(x));
}
inline std::int64_t roundToEven(double x) {
    return static_cast<std::int64_t>(std::llrint(x));
}

// 2^x to within 1e-14 of it (far finer than the float increments it feeds) for |x| < 1000:
// x = n + f with |f| <= 1/2, 2^f from its series to the eleventh power, n put into the exponent.
inline double pow2(double x) {
    constexpr double kInverse[12] = {0,       1.0,     1.0 / 2, 1.0 / 3, 1.0 / 4,  1.0 / 5,
                                     1.0 / 6, 1.0 / 7, 1.0 / 8, 1.0 / 9, 1.0 / 10, 1.0 / 11};
    const std::int64_t n = roundToEven(x);
    const double t = (x - static_cast<double>(n)) * 0.69314718055994530942;  // |t| <= 0.347
    double series = 1.0;
    for (int k = 11; k >= 1; --k) series = 1.0 + series * t * kInverse[k];
    return series * std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}
