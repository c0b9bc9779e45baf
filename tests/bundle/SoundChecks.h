// Measurements for judging a rendered sound: level, loudness, DC, clicks and tails. Most
// work on one channel of 44100 Hz float samples, over a span [from, to) of frame indices.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace soundcheck {

using Signal = std::vector<float>;

inline std::size_t clampEnd(const Signal& x, std::size_t to) {
    return std::min(to, x.size());
}

inline float peak(const Signal& x, std::size_t from, std::size_t to) {
    float p = 0.0f;
    for (std::size_t i = from; i < clampEnd(x, to); ++i) p = std::max(p, std::fabs(x[i]));
    return p;
}

inline bool allFinite(const Signal& x) {
    return std::all_of(x.begin(), x.end(), [](float v) { return std::isfinite(v); });
}

inline double mean(const Signal& x, std::size_t from, std::size_t to) {
    to = clampEnd(x, to);
    if (to <= from) return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += x[i];
    return sum / static_cast<double>(to - from);
}

inline double rms(const Signal& x, std::size_t from, std::size_t to) {
    to = clampEnd(x, to);
    if (to <= from) return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

inline double toDb(double level) {
    return 20.0 * std::log10(std::max(level, 1e-12));
}

// One second-order section in direct form I.
class Biquad {
public:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
        : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}
    double operator()(double x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_, x1_ = x, y2_ = y1_, y1_ = y;
        return y;
    }

private:
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// The broadcast loudness weighting (a high shelf of +4 dB above about 1.7 kHz, then a high-pass
// near 38 Hz), its two sections designed for the given rate by the bilinear transform.
inline Signal loudnessWeighted(const Signal& x, double rate) {
    constexpr double kPi = 3.141592653589793;
    const double k = std::tan(kPi * 1681.974450955533 / rate), q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    Biquad shelf(vh + vb * k / q + k * k, 2.0 * (k * k - vh), vh - vb * k / q + k * k,
                 1.0 + k / q + k * k, 2.0 * (k * k - 1.0), 1.0 - k / q + k * k);
    const double kp = std::tan(kPi * 38.13547087602444 / rate), qp = 0.5003270373238773;
    Biquad highPass(1.0, -2.0, 1.0, 1.0 + kp / qp + kp * kp, 2.0 * (kp * kp - 1.0),
                    1.0 - kp / qp + kp * kp);
    Signal y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) y[i] = static_cast<float>(highPass(shelf(x[i])));
    return y;
}

// Loudness as a listener judges a note: the loudest 400 ms stretch (in 100 ms steps) of the
// weighted stereo signal, in loudness units relative to full scale. Unlike an average it rates a
// pluck and a pad that both sound full by their loud part.
inline double loudestMomentLufs(const Signal& left, const Signal& right, double rate) {
    const Signal l = loudnessWeighted(left, rate), r = loudnessWeighted(right, rate);
    const std::size_t window = static_cast<std::size_t>(0.4 * rate);
    const std::size_t step = window / 4;
    double loudest = 0.0;
    for (std::size_t at = 0; at + window <= l.size() || at == 0; at += step) {
        const std::size_t to = std::min(at + window, l.size());
        const double power = rms(l, at, to) * rms(l, at, to) + rms(r, at, to) * rms(r, at, to);
        loudest = std::max(loudest, power);
    }
    return -0.691 + 10.0 * std::log10(std::max(loudest, 1e-24));
}

inline float largestStep(const Signal& x, std::size_t from, std::size_t to) {
    float step = 0.0f;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < clampEnd(x, to); ++i)
        step = std::max(step, std::fabs(x[i] - x[i - 1]));
    return step;
}

// A click is a jump between neighbouring samples far larger than the sound itself makes: the
// largest step in the 10 ms after an event, against the largest step of the 200 ms after that
// (the sound as it goes on). Returns how many times larger; a smooth onset or release stays
// near 1 or below, a waveform that starts or stops mid-cycle stands out.
inline double clickRatio(const Signal& x, std::size_t event, float floor = 1e-4f) {
    constexpr std::size_t kNear = 441, kAfter = 8820;
    const float near = largestStep(x, event, event + kNear);
    const float after = largestStep(x, event + kNear, event + kNear + kAfter);
    return near / std::max(after, floor);
}

// Frames from `from` until the sound stays below `threshold` to the end; npos when it never
// falls silent (or comes back before the end).
inline std::size_t framesToSilence(const Signal& x, std::size_t from, float threshold) {
    std::size_t last = x.size();
    while (last > from && std::fabs(x[last - 1]) < threshold) --last;
    if (last == x.size()) return static_cast<std::size_t>(-1);
    return last > from ? last - from : 0;
}

}  // namespace soundcheck
