// The whole catalogue, one zone per instrument: each at its intended level after the gain bytes,
// and property rows under which the palette's "similar" search mostly stays within a category.
#include <gtest/gtest.h>

#include <cmath>

#include "Catalogue.h"
#include "Features.h"
#include "LibraryBuilder.h"
#include "Loudness.h"

using namespace makelib;

namespace {

struct Measured {
    double levelDb;
    Features features;
};

std::vector<Measured> measureCatalogue(const std::vector<InstrumentRecipe>& recipes) {
    std::vector<Measured> out;
    for (const InstrumentRecipe& recipe : recipes) {
        const ZonePlan plan = recipe.kit ? kitZonePlan() : zonePlans()[3];
        const ZoneFiles z = makeZone(recipe, plan);
        const double rms =
            voiceRms(z.base, z.top, z.frames, gainByteFor(z.base, z.top, z.frames, recipe.levelDb));
        const bool pitched = !recipe.kit && recipe.base.tonal > 0.0;
        out.push_back(
            {20.0 * std::log10(rms / kTargetVoiceRms),
             measureFeatures(z.base, z.top, z.frames, pitched ? keyFrequency(plan.rootKey) : 0.0,
                             recipe.category)});
    }
    return out;
}

}  // namespace

TEST(LibraryQuality, LoudnessAndSimilarity) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    const std::vector<Measured> measured = measureCatalogue(recipes);
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        EXPECT_NEAR(measured[i].levelDb, recipes[i].levelDb, 3.0) << recipes[i].name;
        for (int c = 0; c < kFeatureCount; ++c) {
            if (c != kCategoryColumn) {
                EXPECT_GE(measured[i].features[c], 0.0);
                EXPECT_LE(measured[i].features[c], 1.0);
            }
        }
    }
    // The palette's "similar" weights; the category column does not take part.
    const double weights[kFeatureCount] = {0.5, 1.0, 0.5, 0.2, 0.2, 1.0, 0, 0, 0, 0};
    int sameCategory = 0;
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        std::size_t best = i;
        double bestDistance = 1e9;
        for (std::size_t j = 0; j < recipes.size(); ++j) {
            if (j == i) continue;
            double d = 0.0;
            for (int c = 0; c < kFeatureCount; ++c) {
                d += std::fabs(measured[i].features[c] - measured[j].features[c]) * weights[c];
            }
            if (d < bestDistance) {
                bestDistance = d;
                best = j;
            }
        }
        sameCategory += recipes[best].category == recipes[i].category ? 1 : 0;
    }
    // Chance would give about one in ten.
    EXPECT_GE(sameCategory * 2, static_cast<int>(recipes.size())) << sameCategory;
}
