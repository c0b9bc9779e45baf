// The kit's table of start points: what the voice reads for each key must be the start of the hit
// made for that key class, with the markers the voice recognises.
#include <gtest/gtest.h>

#include <cmath>

#include "Kit.h"

using namespace makelib;

TEST(Kit, EveryKeyFindsItsHitThroughTheTable) {
    for (const KitMarkers& markers : {kBaseKitMarkers, kTopKitMarkers}) {
        const SampleData kit = makeKit(markers, 3000);
        ASSERT_GE(kit.samples.size(), 128u);
        EXPECT_EQ(kit.samples[0], markers.entry0);
        EXPECT_EQ(kit.samples[3], markers.entry3);
        for (int key = 0; key < 128; ++key) {
            // The voice takes the entry's lower 14 bits as the start position.
            const int start = static_cast<std::uint16_t>(kit.samples[key]) & 0x3FFF;
            EXPECT_EQ(start, kitStart(markers, key & 7)) << key;
            EXPECT_GE(start, kKitTableSize);
            EXPECT_LT(start, kit.loopStart);
        }
    }
}

TEST(Kit, HitsAreDistinctSoundsThatEndBeforeTheNextStarts) {
    const SampleData kit = makeKit(kBaseKitMarkers, 3000);
    std::vector<int> starts;
    for (int slot = 0; slot < 8; ++slot) starts.push_back(kitStart(kBaseKitMarkers, slot));
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(std::adjacent_find(starts.begin(), starts.end()), starts.end());
    starts.push_back(kit.loopStart);
    for (std::size_t h = 0; h + 1 < starts.size(); ++h) {
        double energy = 0.0, sum = 0.0;
        for (int i = starts[h]; i < starts[h + 1]; ++i) {
            energy += double(kit.samples[i]) * kit.samples[i];
            sum += kit.samples[i];
        }
        const double n = starts[h + 1] - starts[h];
        EXPECT_GT(std::sqrt(energy / n), 100.0) << "hit " << h;                      // not silent
        EXPECT_LT(std::fabs(sum / n), 0.05 * std::sqrt(energy / n)) << "hit " << h;  // no DC
        EXPECT_LE(std::abs(int(kit.samples[starts[h + 1] - 1])), 2) << "hit " << h;  // faded out
    }
    // After the last hit the voice circles in a silent loop.
    for (int i = kit.loopStart; i < static_cast<int>(kit.samples.size()); ++i) {
        EXPECT_EQ(kit.samples[i], 0);
    }
}

TEST(Kit, BaseAndTopReadEachKeyClassAtTheSameRate) {
    // The layers' pitch steps differ by their markers' offsets; their root keys make up for it.
    const SampleData base = makeKit(kBaseKitMarkers, 3000);
    const SampleData top = makeKit(kTopKitMarkers, 3000);
    for (int slot = 0; slot < 8; ++slot) {
        const double rate = kitReadRate(kBaseKitMarkers, base.rootKey, slot);
        EXPECT_NEAR(rate, kitReadRate(kTopKitMarkers, top.rootKey, slot), 1e-9);
        EXPECT_GT(rate, 15000.0);
        EXPECT_LT(rate, 30000.0);
    }
}
