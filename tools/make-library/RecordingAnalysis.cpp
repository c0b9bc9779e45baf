#include "RecordingAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Features.h"
#include "Lpc.h"

namespace makelib {
namespace {

constexpr int kWindow = 2048;
constexpr int kBlock = 32;  // samples per step of the interpolated inverse filter
constexpr double kLoudnessWindow = 0.4;

// Sample i of the signal with its loop repeating past the end.
double sampleAt(const LoopedSignal& s, long long i) {
    if (i < 0) return 0.0;
    const long long length = s.loopEnd - s.loopStart;
    if (i >= s.loopEnd) i = s.loopStart + (i - s.loopStart) % length;
    return s.samples[static_cast<std::size_t>(i)];
}

std::vector<double> windowSpectrum(const LoopedSignal& s, long long from) {
    std::vector<double> segment(kWindow);
    for (int i = 0; i < kWindow; ++i) segment[i] = sampleAt(s, from + i);
    return powerSpectrumOf(segment);
}

void accumulate(std::vector<double>& sum, const std::vector<double>& add) {
    if (sum.empty()) sum.assign(add.size(), 0.0);
    for (std::size_t i = 0; i < add.size(); ++i) sum[i] += add[i];
}

// The inverse of the voice's lattice for one set of coefficients: e = A(z) y / G.
struct InverseFilter {
    std::vector<double> a;
    double gain = 1.0;
    explicit InverseFilter(const std::vector<float>& k) {
        gain = k.back();
        a = directForm(std::vector<double>(k.begin(), k.end() - 1));
    }
};

// A resonant recording's frames have small input gains, and its residual comes out large against
// the recording, so that after scaling the residual to 16 bits the voice would play it back too
// quietly for the gain byte to make up. The gains of all the zone's frames are raised together
// until the largest is near 1; the residual shrinks by as much.
void raiseGains(std::vector<FilterFrame>& frames) {
    int largest = 1;
    for (const FilterFrame& f : frames) {
        for (int set : {kPlainSet, kPositiveSet, kNegativeSet})
            largest = std::max(largest, static_cast<int>(f[set + kFilterOrder]));
    }
    const double factor = 29000.0 / largest;
    if (factor <= 1.0) return;
    for (FilterFrame& f : frames) {
        for (int set : {kPlainSet, kPositiveSet, kNegativeSet}) {
            std::int16_t& gain = f[set + kFilterOrder];
            gain = static_cast<std::int16_t>(std::lround(gain * factor));
        }
    }
}

// The head's residual with its slow drift (below about 10 Hz) taken out, fading to nothing at
// the loop, whose mean is already zero: the Filter's gain at the lowest frequencies would turn
// it into DC.
void removeHeadDrift(std::vector<double>& residual, int loopStart) {
    constexpr int kSpan = 4410, kTaper = 441;
    std::vector<double> sums(loopStart + 1, 0.0);
    for (int n = 0; n < loopStart; ++n) sums[n + 1] = sums[n] + residual[n];
    for (int n = 0; n < loopStart; ++n) {
        const int from = std::max(0, n - kSpan / 2), to = std::min(loopStart, n + kSpan / 2);
        const double taper = std::min(1.0, static_cast<double>(loopStart - n) / kTaper);
        residual[n] -= (sums[to] - sums[from]) / (to - from) * taper;
    }
}

std::vector<float> blend(const std::vector<float>& x, const std::vector<float>& y, double u) {
    std::vector<float> out(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        out[i] = static_cast<float>(x[i] + (y[i] - x[i]) * u);
    return out;
}

// Mono samples [from, to) of a zone's recording, full scale 1.0.
std::vector<double> readMono(const SoundFont& font, const RecordedZone& zone, std::uint32_t from,
                             std::uint32_t to) {
    std::vector<double> out(to - from);
    const SampleHeader& left = font.sampleHeaders[zone.sample];
    const long long shift =
        zone.partner >= 0
            ? static_cast<long long>(font.sampleHeaders[zone.partner].start) - left.start
            : 0;
    const bool stereo =
        zone.partner >= 0 && static_cast<long long>(from) + shift >= 0 &&
        static_cast<long long>(to) + shift <= static_cast<long long>(font.samples.size());
    for (std::uint32_t i = from; i < to; ++i) {
        double v = font.samples[i];
        if (stereo) v = 0.5 * (v + font.samples[static_cast<std::size_t>(i + shift)]);
        out[i - from] = v / 32768.0;
    }
    return out;
}

}  // namespace

Recording loadRecording(const SoundFont& font, const RecordedZone& zone, double maxHeadSeconds,
                        double bandLimitHz) {
    LoopedSignal raw;
    raw.samples = readMono(font, zone, zone.start, zone.loopEnd);
    raw.loopStart = static_cast<int>(zone.loopStart - zone.start);
    raw.loopEnd = static_cast<int>(raw.samples.size());
    double mean = 0.0;
    for (int i = raw.loopStart; i < raw.loopEnd; ++i) mean += raw.samples[i];
    mean /= raw.loopEnd - raw.loopStart;
    for (double& v : raw.samples) v -= mean;

    const int maxHead = static_cast<int>(maxHeadSeconds * zone.sampleRate);
    if (raw.loopStart > maxHead) {
        // The head's end fades into the stretch that leads into the loop.
        const int fade = std::min(maxHead / 2, static_cast<int>(0.08 * zone.sampleRate));
        std::vector<double> shortened(raw.samples.begin(), raw.samples.begin() + maxHead);
        for (int i = 0; i < fade; ++i) {
            const double w = std::sin(0.5 * std::numbers::pi * (i + 0.5) / fade);
            double& v = shortened[maxHead - fade + i];
            v = v * (1.0 - w * w) + raw.samples[raw.loopStart - fade + i] * w * w;
        }
        shortened.insert(shortened.end(), raw.samples.begin() + raw.loopStart, raw.samples.end());
        raw.samples = std::move(shortened);
        raw.loopEnd = static_cast<int>(raw.samples.size());
        raw.loopStart = maxHead;
    }

    Recording out;
    out.rootKey = static_cast<int>(std::lround(zone.pitchKey));
    const double rateRatio = zone.sampleRate / kStorageRate;
    double step = 0.0;
    out.signal =
        resampleLooped(raw, rateRatio * std::pow(2.0, (out.rootKey - zone.pitchKey) / 12.0),
                       bandLimitHz / (0.5 * kStorageRate), &step);
    const double sounding = zone.pitchKey + 12.0 * std::log2(step / rateRatio);
    const double fine = std::pow(2.0, (out.rootKey - sounding) / 12.0);
    out.fineTune =
        static_cast<int>(std::clamp(std::lround(50.0 + (fine - 1.0) * 1000.0), -100L, 127L));
    return out;
}

std::vector<double> localSpectrum(const LoopedSignal& signal, int centre) {
    std::vector<double> sum;
    for (int shift : {-kWindow / 4, 0, kWindow / 4}) {
        accumulate(sum, windowSpectrum(signal, std::max(0, centre + shift - kWindow / 2)));
    }
    return sum;
}

std::vector<double> loopSpectrum(const LoopedSignal& signal) {
    const int length = signal.loopEnd - signal.loopStart;
    const int windows = std::clamp(length / (kWindow / 2), 1, 16);
    std::vector<double> sum;
    for (int w = 0; w < windows; ++w) {
        accumulate(sum, windowSpectrum(signal, signal.loopStart +
                                                   static_cast<long long>(w) * length / windows));
    }
    return sum;
}

int headFrameCount(int frameCount) {
    return std::max(1, frameCount / 3);
}

RecordingAnalysis analyseRecording(const Recording& recording, int frameCount, double level) {
    const LoopedSignal& s = recording.signal;
    const int headFrames = headFrameCount(frameCount);
    RecordingAnalysis out;
    // Frame centres: the attack, then evenly through the head; the loop's frame stands at the
    // loop start for the inverse filter's interpolation.
    std::vector<int> centres;
    for (int f = 0; f < headFrames; ++f)
        centres.push_back(kWindow / 2 + f * std::max(0, s.loopStart - kWindow / 2) / headFrames);
    for (int f = 0; f < headFrames; ++f)
        out.frames.push_back(filterFrameFromSpectrum(localSpectrum(s, centres[f])));
    out.frames.resize(std::max(frameCount, headFrames + 1),
                      filterFrameFromSpectrum(loopSpectrum(s)));
    raiseGains(out.frames);
    const FilterFrame& loopFrame = out.frames.back();
    centres.push_back(std::max(s.loopStart, centres.back() + 1));

    std::vector<double> residual(s.loopEnd + kGuardSamples);
    const std::vector<float> loopK = frameCoefficients(loopFrame, kPlainSet);
    std::size_t segment = 0;
    for (int from = 0, to = 0; from < s.loopEnd; from = to) {
        // Blocks stop at the loop start, where the fixed loop filter takes over.
        to = std::min(from + kBlock, from < s.loopStart ? s.loopStart : s.loopEnd);
        const int middle = from + kBlock / 2;
        std::vector<float> k = loopK;
        if (from < s.loopStart) {
            while (segment + 1 < centres.size() && centres[segment + 1] <= middle) ++segment;
            const int next = static_cast<int>(std::min(segment + 1, centres.size() - 1));
            const double u = std::clamp(static_cast<double>(middle - centres[segment]) /
                                            std::max(1, centres[next] - centres[segment]),
                                        0.0, 1.0);
            const std::vector<float> a = frameCoefficients(out.frames[segment], kPlainSet);
            k = blend(a, next < headFrames ? frameCoefficients(out.frames[next], kPlainSet) : loopK,
                      u);
        }
        const InverseFilter inverse(k);
        for (int n = from; n < to; ++n) {
            double acc = s.samples[n];
            for (std::size_t i = 0; i < inverse.a.size(); ++i) {
                long long m = n - 1 - static_cast<long long>(i);
                // In the loop the history is the loop's own end, so the residual repeats too.
                if (n >= s.loopStart) {
                    while (m < s.loopStart) m += s.loopEnd - s.loopStart;
                }
                acc += inverse.a[i] * (m < 0 ? 0.0 : s.samples[static_cast<std::size_t>(m)]);
            }
            residual[n] = acc / inverse.gain;
        }
    }
    removeHeadDrift(residual, s.loopStart);
    for (int i = 0; i < kGuardSamples; ++i)
        residual[s.loopEnd + i] = residual[s.loopStart + i % (s.loopEnd - s.loopStart)];

    double scale = 0.0;
    out.base.samples = toSamples(residual, level, &scale);
    out.base.loopStart = s.loopStart;
    out.base.loopEnd = s.loopEnd;
    out.base.rootKey = recording.rootKey;
    out.base.fineTune = recording.fineTune;

    // The lattice gives the recording back, scaled as the residual was, from the Base layer's
    // full-scale interpolation weights (32000).
    const int window = static_cast<int>(kLoudnessWindow * kStorageRate);
    const int length = std::max(s.loopStart + static_cast<int>(kStorageRate), window);
    double loudest = 0.0;
    for (int from = 0; from + window <= length; from += window / 4) {
        double sum = 0.0;
        for (int i = from; i < from + window; ++i) {
            const double v = sampleAt(s, i);
            sum += v * v;
        }
        loudest = std::max(loudest, sum / window);
    }
    out.latticeRms = std::sqrt(loudest) * scale * 32000.0;
    return out;
}

}  // namespace makelib
