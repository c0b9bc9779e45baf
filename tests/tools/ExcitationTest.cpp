// Excitations: seamless loops, no DC, nothing above what the zone may read without aliasing,
// the right pitch, and the same bytes on every run.
#include <gtest/gtest.h>

#include <cmath>

#include "Excitation.h"
#include "Features.h"
#include "LibraryBuilder.h"

using namespace makelib;

namespace {

ExcitationRecipe saw() {
    ExcitationRecipe s;
    s.headSeconds = 0.05;
    return s;
}

ExcitationRecipe breathyEnsemble() {
    ExcitationRecipe s;
    s.slopeDb = -9;
    s.ensemble = 0.5;
    s.noiseLevel = 0.6;
    s.noiseLowHz = 300;
    s.burstLevel = 0.5;
    s.loopSeconds = 0.3;
    return s;
}

ExcitationRecipe bell() {
    ExcitationRecipe s;
    s.partials = {{1, 1, 0.5}, {2.76, 0.6, 0.2}, {5.4, 0.4, 0.1}, {8.93, 0.3, 0.05}};
    s.attackSeconds = 0.001;
    s.headSeconds = 0.3;
    return s;
}

ExcitationRecipe noise() {
    ExcitationRecipe s;
    s.tonal = 0.0;
    s.noiseLevel = 1.0;
    s.noiseLowHz = 20;
    return s;
}

std::vector<double> loopOf(const SampleData& d, int length) {
    std::vector<double> out;
    for (int i = 0; i < length; ++i) {
        out.push_back(d.samples[d.loopStart + i % (d.loopEnd - d.loopStart)]);
    }
    return out;
}

struct Case {
    const char* name;
    ExcitationRecipe recipe;
};

std::vector<Case> cases() {
    return {{"saw", saw()}, {"breathy", breathyEnsemble()}, {"bell", bell()}, {"noise", noise()}};
}

}  // namespace

TEST(Excitation, LoopsAreSeamless) {
    for (const ZonePlan& zone : {zonePlans()[1], zonePlans()[4]}) {
        for (const Case& c : cases()) {
            const SampleData d = synthesizeExcitation(c.recipe, zone, 3000);
            const auto& s = d.samples;
            ASSERT_GT(d.loopEnd - d.loopStart, 200) << c.name;
            ASSERT_EQ(static_cast<int>(s.size()), d.loopEnd + kGuardSamples) << c.name;
            // The samples after the loop end are the loop's start, so interpolation across the
            // seam reads what playback reads.
            for (int i = 0; i < kGuardSamples; ++i) EXPECT_EQ(s[d.loopEnd + i], s[d.loopStart + i]);
            // Level and slope: the jump over the seam (loop end - 1 -> loop start) has a first and
            // second difference no larger than the loop's own largest ones.
            double maxStep = 0.0, maxBend = 0.0;
            for (int i = d.loopStart + 1; i < d.loopEnd - 1; ++i) {
                maxStep = std::max(maxStep, std::fabs(double(s[i + 1]) - s[i]));
                maxBend = std::max(maxBend, std::fabs(double(s[i + 1]) - 2.0 * s[i] + s[i - 1]));
            }
            const double step = double(s[d.loopStart]) - s[d.loopEnd - 1];
            const double bend = step - (double(s[d.loopEnd - 1]) - s[d.loopEnd - 2]);
            EXPECT_LE(std::fabs(step), maxStep) << c.name;
            EXPECT_LE(std::fabs(bend), maxBend) << c.name;
        }
    }
}

TEST(Excitation, NothingAliasesAnywhereInTheZone) {
    // Played at the zone's highest key the sample is read 2^((limit - root) / 12) times faster
    // (the zone transpose puts the root at four reads per reference read, i.e. 44100 per second);
    // everything it holds must then stay below the output's Nyquist frequency.
    for (const ZonePlan& zone : zonePlans()) {
        const double fastest = std::pow(2.0, (zone.limit - zone.rootKey) / 12.0);
        for (const Case& c : cases()) {
            const SampleData d = synthesizeExcitation(c.recipe, zone, 3000);
            const std::vector<double> power = powerSpectrumOf(loopOf(d, 16384));
            double total = 0.0, above = 0.0;
            const double bin = kStorageRate / 2.0 / power.size();
            for (std::size_t i = 0; i < power.size(); ++i) {
                total += power[i];
                if (i * bin * fastest > 22050.0) above += power[i];
            }
            EXPECT_LT(above, total * 1e-6) << c.name << " zone " << zone.limit;
        }
    }
}

TEST(Excitation, LoopHoldsTheRootPitch) {
    ExcitationRecipe sine;
    sine.partials = {{1, 1, 1}};
    for (const ZonePlan& zone : zonePlans()) {
        const SampleData d = synthesizeExcitation(sine, zone, 3000);
        int crossings = 0;
        for (int i = d.loopStart; i < d.loopEnd; ++i) {
            const int next = i + 1 < d.loopEnd ? i + 1 : d.loopStart;
            if (d.samples[i] < 0 && d.samples[next] >= 0) ++crossings;
        }
        const double measured = crossings * kStorageRate / (d.loopEnd - d.loopStart);
        EXPECT_NEAR(measured / keyFrequency(zone.rootKey), 1.0, 1e-3) << zone.rootKey;
        EXPECT_EQ(d.rootKey, zone.rootKey);
    }
}

TEST(Excitation, SameRecipeGivesSameSamplesAndSeedsDiffer) {
    const ZonePlan zone = zonePlans()[3];
    ExcitationRecipe a = breathyEnsemble();
    const SampleData first = synthesizeExcitation(a, zone, 3000);
    EXPECT_EQ(first.samples, synthesizeExcitation(a, zone, 3000).samples);
    a.seed = 77;
    EXPECT_NE(first.samples, synthesizeExcitation(a, zone, 3000).samples);
}

TEST(Excitation, LevelAndPeakAreBoundedAndLoopsCarryNoDc) {
    for (const Case& c : cases()) {
        const SampleData d = synthesizeExcitation(c.recipe, zonePlans()[2], 3000);
        double energy = 0.0;
        int peak = 0;
        for (std::int16_t v : d.samples) {
            energy += double(v) * v;
            peak = std::max(peak, std::abs(int(v)));
        }
        EXPECT_LE(peak, 29491) << c.name;  // 90 % of full scale
        EXPECT_LE(std::sqrt(energy / d.samples.size()), 3001.0) << c.name;
        EXPECT_GT(std::sqrt(energy / d.samples.size()), 300.0) << c.name;
        double loopSum = 0.0, loopEnergy = 0.0;
        for (int i = d.loopStart; i < d.loopEnd; ++i) {
            loopSum += d.samples[i];
            loopEnergy += double(d.samples[i]) * d.samples[i];
        }
        const double n = d.loopEnd - d.loopStart;
        EXPECT_LT(std::fabs(loopSum / n), 0.005 * std::sqrt(loopEnergy / n)) << c.name;
    }
}
