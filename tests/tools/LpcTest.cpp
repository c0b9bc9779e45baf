// Linear prediction and the lattice: the coefficients the generator stores must make, in the
// voice's lattice, exactly the all-pole filter that the analysis found.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Features.h"
#include "FilterTable.h"
#include "LatticeFilter.h"
#include "Lpc.h"
#include "EnvelopeShape.h"

using namespace makelib;

namespace {

// Impulse response of G / A(z) computed in direct form.
std::vector<double> directImpulse(const std::vector<double>& a, double gain, int length) {
    std::vector<double> y(length, 0.0);
    for (int n = 0; n < length; ++n) {
        double acc = n == 0 ? gain : 0.0;
        for (std::size_t i = 0; i < a.size() && i < static_cast<std::size_t>(n); ++i) {
            acc -= a[i] * y[n - 1 - i];
        }
        y[n] = acc;
    }
    return y;
}

std::vector<double> latticeImpulse(const std::vector<float>& k, int length) {
    LatticeFilter filter(k);
    std::vector<double> y(length);
    for (int n = 0; n < length; ++n) y[n] = filter.process(n == 0 ? 1.0f : 0.0f);
    return y;
}

EnvelopeShape vowelA() {
    return {{{730, 90, 24}, {1090, 110, 20}, {2440, 160, 14}, {3400, 250, 10}}, -4.0, 6000};
}

double peakFrequency(const std::vector<double>& db, double rate) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < db.size(); ++i)
        if (db[i] > db[best]) best = i;
    return (best + 0.5) * rate / 2.0 / db.size();
}

}  // namespace

TEST(Lpc, RecoversAKnownAllPoleProcess) {
    // Autocorrelation of a known stable AR(4) filter's impulse response.
    const std::vector<double> a = {-1.6, 1.45, -0.6, 0.2};
    const std::vector<double> h = directImpulse(a, 1.0, 4000);
    std::vector<double> r(5, 0.0);
    for (int lag = 0; lag <= 4; ++lag)
        for (std::size_t n = lag; n < h.size(); ++n) r[lag] += h[n] * h[n - lag];
    const LpcModel model = levinsonDurbin(r);
    const std::vector<double> found = directForm(model.reflection);
    ASSERT_EQ(found.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(found[i], a[i], 1e-9) << i;
    EXPECT_NEAR(model.error, 1.0 / r[0], 1e-9);  // unit-power white input
    for (double k : model.reflection) EXPECT_LT(std::fabs(k), 1.0);
}

TEST(Lpc, LatticeMatchesDirectFormForStoredFrames) {
    // The sign convention: the voice's lattice with the stored k must equal G / A(z) with A from
    // the step-up recursion, for every set of every frame.
    const std::vector<FilterFrame> frames =
        makeFilterFrames(vowelA(), EnvelopeShape{{{300, 60, 20}}, -6.0, 3000}, 4);
    for (const FilterFrame& frame : frames) {
        for (int set : {kPlainSet, kPositiveSet, kNegativeSet}) {
            const std::vector<float> k = frameCoefficients(frame, set);
            const std::vector<double> a =
                directForm(std::vector<double>(k.begin(), k.begin() + kFilterOrder));
            const std::vector<double> direct = directImpulse(a, k[kFilterOrder], 600);
            const std::vector<double> lattice = latticeImpulse(k, 600);
            double peak = 0.0;
            for (double v : direct) peak = std::max(peak, std::fabs(v));
            for (int n = 0; n < 600; ++n) {
                ASSERT_NEAR(lattice[n], direct[n], 2e-4 * peak) << "set " << set << " n " << n;
            }
        }
    }
}

TEST(Lpc, FramesAreStableAndFollowTheEnvelope) {
    const std::vector<FilterFrame> frames =
        makeFilterFrames(vowelA(), EnvelopeShape{{{320, 80, 24}}, -6.0, 2500}, 6);
    for (const FilterFrame& frame : frames) {
        for (int set : {kPlainSet, kPositiveSet, kNegativeSet}) {
            for (int i = 0; i < kFilterOrder; ++i) EXPECT_LT(std::abs(frame[set + i]), 32767);
            EXPECT_GT(frame[set + kFilterOrder], 0);  // an input gain that lets sound through
            // A stable filter's impulse response dies away.
            const std::vector<double> h = latticeImpulse(frameCoefficients(frame, set), 20000);
            double early = 0.0, late = 0.0;
            for (int n = 0; n < 1000; ++n) early += h[n] * h[n];
            for (int n = 19000; n < 20000; ++n) late += h[n] * h[n];
            EXPECT_LT(late, early * 1e-6);
        }
        for (int i = 48; i < kFrameValues; ++i) EXPECT_EQ(frame[i], 0);
    }
    // Frame 0 peaks near the first formant of the opened shape, the last frame near 320 Hz.
    EXPECT_NEAR(peakFrequency(filterResponseDb(frames.front(), 2048), kAnalysisRate), 730, 120);
    EXPECT_NEAR(peakFrequency(filterResponseDb(frames.back(), 2048), kAnalysisRate), 320, 80);
}

TEST(Lpc, EmphasisSetsSharpenAndFlattenThePeaks) {
    const std::vector<FilterFrame> frames = makeFilterFrames(vowelA(), vowelA(), 1);
    auto peakOverMean = [&](int set) {
        FilterFrame f = frames[0];
        for (int j = 0; j <= kFilterOrder; ++j) f[kPlainSet + j] = frames[0][set + j];
        const std::vector<double> db = filterResponseDb(f, 1024);
        double mean = 0.0, peak = -1e9;
        for (double v : db) {
            mean += v;
            peak = std::max(peak, v);
        }
        return peak - mean / db.size();
    };
    const double plain = peakOverMean(kPlainSet);
    EXPECT_GT(peakOverMean(kPositiveSet), plain + 3.0);
    EXPECT_LT(peakOverMean(kNegativeSet), plain - 3.0);
}

TEST(SpectralEnvelope, ShapesBlendAndNormalise) {
    const EnvelopeShape a{{{500, 100, 20}}, 0, 10000};
    const EnvelopeShape b{{{2000, 400, 10}}, -6, 2500};
    const EnvelopeShape mid = blendShapes(a, b, 0.5);
    EXPECT_NEAR(mid.resonances[0].frequency, 1000.0, 1e-9);  // geometric
    EXPECT_NEAR(mid.resonances[0].gainDb, 15.0, 1e-9);       // linear
    EXPECT_NEAR(mid.cutoff, 5000.0, 1e-9);
    const std::vector<double> p = powerSpectrum(a, 44100, 256);
    double sum = 0.0;
    for (double v : p) {
        sum += v;
        EXPECT_GT(v, 0.0);
    }
    EXPECT_NEAR(sum / p.size(), 1.0, 1e-9);
    const std::vector<double> sharp = reshape(p, 2.0);
    EXPECT_GT(*std::max_element(sharp.begin(), sharp.end()), *std::max_element(p.begin(), p.end()));
}
