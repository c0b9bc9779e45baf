// Recordings into zones, on signals made here: resampling keeps a loop seamless and removes what
// lies above its cutoff; the analysis whitens a recording and its own frames give it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Features.h"
#include "LatticeFilter.h"
#include "RecordingAnalysis.h"
#include "Resample.h"

using namespace makelib;

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Amplitude of the component with `cycles` periods over [from, from + length).
double amplitude(const std::vector<double>& x, int from, int length, int cycles) {
    double c = 0.0, s = 0.0;
    for (int i = 0; i < length; ++i) {
        c += x[from + i] * std::cos(kTwoPi * cycles * i / length);
        s += x[from + i] * std::sin(kTwoPi * cycles * i / length);
    }
    return 2.0 * std::hypot(c, s) / length;
}

// A head of `head` samples and a loop of `loop` samples in which component k of `parts` makes
// parts[k].first whole cycles.
LoopedSignal tones(int head, int loop, const std::vector<std::pair<int, double>>& parts,
                   double headBoost) {
    LoopedSignal s;
    for (int n = 0; n < head + loop; ++n) {
        double v = 0.0;
        for (const auto& [cycles, level] : parts)
            v += level * std::sin(kTwoPi * cycles * (n - head) / loop + 0.3 * cycles);
        s.samples.push_back(v * (1.0 + headBoost * std::exp(-n / 800.0)));
    }
    s.loopStart = head;
    s.loopEnd = head + loop;
    return s;
}

}  // namespace

TEST(Resample, LoopStaysWholeAndContentAboveTheCutoffGoes) {
    struct Case {
        double step;     // input samples per output sample
        double cutoff;   // of the output's Nyquist frequency
        int keep, drop;  // cycles per input loop of the component kept and of the one removed
    };
    // 32 kHz up to the storage rate with a cutoff; 48 kHz down, where 21 kHz must go.
    const Case cases[] = {{32000.0 / 44100.0, 0.5, 32, 480}, {48000.0 / 44100.0, 0.92, 32, 480}};
    for (const Case& c : cases) {
        const LoopedSignal in = tones(700, 1024, {{c.keep, 0.5}, {c.drop, 0.3}}, 0.0);
        double step = 0.0;
        const LoopedSignal out = resampleLooped(in, c.step, c.cutoff, &step);
        const int loop = out.loopEnd - out.loopStart;
        ASSERT_EQ(static_cast<std::size_t>(out.loopEnd), out.samples.size());
        EXPECT_EQ(loop, std::lround(1024 / c.step));
        EXPECT_DOUBLE_EQ(step, 1024.0 / loop);
        EXPECT_NEAR(amplitude(out.samples, out.loopStart, loop, c.keep), 0.5, 0.005) << c.step;
        EXPECT_LT(amplitude(out.samples, out.loopStart, loop, c.drop), 0.003) << c.step;
        // Nothing but that sine remains in the loop, so its end runs into its start.
        double power = 0.0;
        for (int i = out.loopStart; i < out.loopEnd; ++i) power += out.samples[i] * out.samples[i];
        EXPECT_NEAR(std::sqrt(power / loop), 0.5 / std::sqrt(2.0), 0.004) << c.step;
    }
}

TEST(RecordingAnalysis, ResidualIsWhiteAndItsOwnFramesGiveTheRecordingBack) {
    // A tone of 20 cycles per 2000-sample loop with a formant near harmonic 12, louder in its head.
    std::vector<std::pair<int, double>> partials;
    for (int h = 1; h <= 40; ++h) {
        const double d = (h - 12.0) / 3.0;
        partials.push_back({20 * h, 0.3 / (1.0 + d * d) + 0.02 / h});
    }
    Recording recording;
    recording.signal = tones(6000, 2000, partials, 3.0);
    recording.rootKey = 69;
    // A head that drifts off zero, as a microphone's does after a strike.
    for (int n = 0; n < 6000; ++n) recording.signal.samples[n] += 0.2 * std::exp(-n / 3000.0);
    const RecordingAnalysis a = analyseRecording(recording, 12, 3000.0);
    const SampleData& base = a.base;
    ASSERT_EQ(a.frames.size(), 12u);
    ASSERT_EQ(base.loopStart, 6000);
    ASSERT_EQ(base.loopEnd, 8000);
    ASSERT_EQ(base.samples.size(), 8000u + kGuardSamples);
    for (int i = 0; i < kGuardSamples; ++i)
        EXPECT_EQ(base.samples[8000 + i], base.samples[6000 + i]);
    for (std::size_t f = headFrameCount(12); f < a.frames.size(); ++f)
        EXPECT_EQ(a.frames[f], a.frames.back()) << "every sustain frame is the loop's envelope";
    EXPECT_NE(a.frames.front(), a.frames.back());

    // The loop through its own frame, after two passes to settle: the recording, scaled.
    LatticeFilter lattice(frameCoefficients(a.frames.back(), kPlainSet));
    std::vector<double> out;
    for (int pass = 0; pass < 3; ++pass)
        for (int n = base.loopStart; n < base.loopEnd; ++n)
            out.push_back(lattice.process(static_cast<float>(base.samples[n] * 32000.0)));
    double cross = 0.0, power = 0.0, mean = 0.0, residualPower = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double x = recording.signal.samples[6000 + i];
        cross += out[4000 + i] * x;
        power += x * x;
        mean += base.samples[6000 + i];
        residualPower += double(base.samples[6000 + i]) * base.samples[6000 + i];
    }
    const double scale = cross / power;
    double error = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double e = out[4000 + i] - scale * recording.signal.samples[6000 + i];
        error += e * e;
    }
    EXPECT_LT(std::sqrt(error / power) / scale, 0.01) << "the resynthesis differs from the loop";
    EXPECT_LT(std::fabs(mean / 2000.0), 0.01 * std::sqrt(residualPower / 2000.0)) << "DC";
    // Nor in the head, where the lattice's gain at the lowest frequencies would make much of it.
    double headMean = 0.0, headPower = 0.0;
    for (int n = 0; n < 6000; ++n) {
        headMean += base.samples[n];
        headPower += double(base.samples[n]) * base.samples[n];
    }
    EXPECT_LT(std::fabs(headMean / 6000.0), 0.01 * std::sqrt(headPower / 6000.0))
        << "DC in the head";

    // Whitened: the residual's envelope is nearly flat where the recording's formant stands out.
    const auto envelopeSpan = [](const LoopedSignal& s) {
        const std::vector<double> db =
            filterResponseDb(filterFrameFromSpectrum(loopSpectrum(s)), 200);
        // 500 Hz to 9 kHz, where the tone has harmonics
        return *std::max_element(db.begin() + 5, db.begin() + 82) -
               *std::min_element(db.begin() + 5, db.begin() + 82);
    };
    LoopedSignal residual;
    residual.samples.assign(base.samples.begin(), base.samples.begin() + base.loopEnd);
    residual.loopStart = base.loopStart;
    residual.loopEnd = base.loopEnd;
    EXPECT_GT(envelopeSpan(recording.signal), 15.0);
    EXPECT_LT(envelopeSpan(residual), 6.0);
}
