#include "Features.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "LatticeFilter.h"
#include "Lpc.h"

namespace makelib {
namespace {

constexpr double kPi = std::numbers::pi;

void fft(std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * kPi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * wk;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
}

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

}  // namespace

std::vector<double> representativeSignal(const SampleData& s, int length) {
    int from = s.loopStart, to = s.loopEnd;
    bool silent = true;
    for (int i = from; i < to; ++i) silent = silent && s.samples[i] == 0;
    if (silent) {
        from = std::min(128, s.loopStart);
        to = s.loopStart;
    }
    std::vector<double> out;
    const int span = std::max(1, to - from);
    for (int i = 0; i < length; ++i) out.push_back(s.samples[from + i % span]);
    return out;
}

namespace {

// RMS in 5 ms windows over the sample's audible part (after a start-point table).
std::vector<double> levelCurve(const SampleData& s, int from) {
    constexpr int kWindow = 220;
    std::vector<double> out;
    for (int i = from; i + kWindow <= s.loopEnd; i += kWindow) {
        double sum = 0.0;
        for (int j = 0; j < kWindow; ++j) sum += double(s.samples[i + j]) * s.samples[i + j];
        out.push_back(std::sqrt(sum / kWindow));
    }
    return out;
}

double centroidHz(const std::vector<double>& power) {
    double weighted = 0.0, total = 0.0;
    for (std::size_t i = 0; i < power.size(); ++i) {
        weighted += power[i] * i;
        total += power[i];
    }
    const double bin = kStorageRate / (2.0 * power.size());
    return total > 0.0 ? weighted / total * bin : 0.0;
}

double flatness(const std::vector<double>& power) {
    double logSum = 0.0, sum = 0.0;
    for (double p : power) {
        logSum += std::log(p + 1e-12);
        sum += p + 1e-12;
    }
    const double n = static_cast<double>(power.size());
    return std::exp(logSum / n) / (sum / n);
}

double harmonicShare(const std::vector<double>& power, double fundamental) {
    if (fundamental <= 0.0) return 0.0;
    const double bin = kStorageRate / (2.0 * power.size());
    double onHarmonics = 0.0, total = 0.0;
    for (std::size_t i = 0; i < power.size(); ++i) {
        const double f = i * bin;
        const double h = std::round(f / fundamental);
        if (h >= 1.0 && std::fabs(f - h * fundamental) <= 2.5 * bin) onHarmonics += power[i];
        total += power[i];
    }
    return total > 0.0 ? onHarmonics / total : 0.0;
}

}  // namespace

std::vector<double> powerSpectrumOf(const std::vector<double>& signal) {
    std::size_t n = 1;
    while (n * 2 <= signal.size() && n < 16384) n *= 2;
    std::vector<std::complex<double>> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = signal[i] * (0.5 - 0.5 * std::cos(2.0 * kPi * i / n));
    }
    fft(x);
    std::vector<double> power(n / 2);
    for (std::size_t i = 0; i < n / 2; ++i) power[i] = std::norm(x[i]);
    return power;
}

std::vector<double> filterResponseDb(const FilterFrame& frame, int points) {
    const std::vector<float> k = frameCoefficients(frame, kPlainSet);
    const std::vector<double> a = directForm(std::vector<double>(k.begin(), k.end() - 1));
    std::vector<double> out(points);
    for (int p = 0; p < points; ++p) {
        const double w = kPi * (p + 0.5) / points;
        std::complex<double> sum = 1.0;
        for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * std::polar(1.0, -w * (i + 1.0));
        out[p] = 10.0 * std::log10(double(k.back()) * k.back() / std::norm(sum));
    }
    return out;
}

Features measureFeatures(const SampleData& base, const SampleData& top,
                         const std::vector<FilterFrame>& frames, double fundamental, int category) {
    constexpr int kLength = 16384;
    const std::vector<double> b = representativeSignal(base, kLength);
    const std::vector<double> t = representativeSignal(top, kLength);
    LatticeFilter filter(frameCoefficients(frames.front(), kPlainSet));
    std::vector<double> excitation(kLength), filtered(kLength);
    for (int i = 0; i < kLength; ++i) {
        excitation[i] = b[i] + t[i];
        filtered[i] = filter.process(static_cast<float>(excitation[i]));
    }
    const std::vector<double> filteredPower = powerSpectrumOf(filtered);
    const std::vector<double> basePower = powerSpectrumOf(b);

    Features f{};
    f[0] = clamp01(std::log2(std::max(centroidHz(filteredPower), 100.0) / 100.0) / 7.5);
    f[1] = clamp01(std::sqrt(flatness(powerSpectrumOf(excitation))));
    f[2] = clamp01(harmonicShare(basePower, fundamental));

    const int audible = base.samples.size() > 128 && base.samples[0] < 0 ? 128 : 0;
    const std::vector<double> level = levelCurve(base, audible);
    const auto peak = std::max_element(level.begin(), level.end());
    const double peakLevel = peak == level.end() ? 0.0 : *peak;
    int attack = 0;
    while (attack < static_cast<int>(level.size()) && level[attack] < 0.9 * peakLevel) ++attack;
    f[3] = clamp01(std::log2(1.0 + attack * 5.0) / 10.0);
    double loopRms = 0.0;
    for (double v : b) loopRms += v * v;
    loopRms = std::sqrt(loopRms / b.size());
    f[4] = peakLevel > 0.0 ? clamp01(1.0 - loopRms / peakLevel) : 0.0;

    const std::vector<double> opened = filterResponseDb(frames.front(), 256);
    const std::vector<double> settled = filterResponseDb(frames.back(), 256);
    double meanDb = 0.0, movement = 0.0;
    for (std::size_t i = 0; i < opened.size(); ++i) {
        meanDb += opened[i];
        movement += std::fabs(opened[i] - settled[i]);
    }
    meanDb /= opened.size();
    f[5] = clamp01((*std::max_element(opened.begin(), opened.end()) - meanDb) / 60.0);
    f[kCategoryColumn] = category + 1;
    f[7] = clamp01(movement / opened.size() / 20.0);

    const std::vector<double> loopLevel = levelCurve(base, base.loopStart);
    double mean = 0.0, spread = 0.0;
    for (double v : loopLevel) mean += v;
    mean /= std::max<std::size_t>(loopLevel.size(), 1);
    for (double v : loopLevel) spread += (v - mean) * (v - mean);
    spread = std::sqrt(spread / std::max<std::size_t>(loopLevel.size(), 1));
    f[8] = mean > 0.0 ? clamp01(2.0 * spread / mean) : 0.0;

    double low = 0.0, total = 0.0;
    const double bin = kStorageRate / (2.0 * filteredPower.size());
    for (std::size_t i = 0; i < filteredPower.size(); ++i) {
        if (i * bin < 500.0) low += filteredPower[i];
        total += filteredPower[i];
    }
    f[9] = total > 0.0 ? clamp01(low / total) : 0.0;
    return f;
}

}  // namespace makelib
