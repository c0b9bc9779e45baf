#include "engine/LayerSampleLookup.h"

#include <gtest/gtest.h>

#include <string>

#include "data/PPool.h"
#include "data/PResource.h"
#include "data/PResourceTable.h"

namespace {

class LayerSampleLookupTest : public ::testing::Test {
protected:
    LayerSampleLookupTest() {
        PResourceTable::shared().resetForTests();
        const std::string xml =
            "<oip-pool>"
            "<oip name='Low'><zone limit='40' transpose='-2' rn='1'/>"
            "<zone limit='60' transpose='3' rn='2'/><zone limit='127' rn='3'/></oip>"
            "<oip name='One'><zone limit='127' rn='9'/></oip>"
            "</oip-pool>";
        pool.loadText(xml.data(), xml.size());
    }
    ~LayerSampleLookupTest() override { PResourceTable::shared().resetForTests(); }

    static std::string name(const PResource* r) { return r ? r->name() : "none"; }

    PPool pool;
};

TEST_F(LayerSampleLookupTest, SampleLayersUseTheTransposedKeyAndAddTheZoneTranspose) {
    const POIP* low = pool.get(0);
    LayerSamples layers;
    layers.baseTranspose = 12;  // octave up: note 35 looks at key 47, zone 60
    layers.topTranspose = 0;    // key 35, zone 40
    findLayerSamples(low, low, low, 35, layers);
    EXPECT_EQ(name(layers.base), "B00002.raw");
    EXPECT_EQ(layers.baseTranspose, 15);
    EXPECT_EQ(name(layers.top), "T00001.raw");
    EXPECT_EQ(layers.topTranspose, -2);

    layers.baseTranspose = 24;  // key 150 lies beyond every limit: the last zone
    findLayerSamples(low, low, low, 126, layers);
    EXPECT_EQ(name(layers.base), "B00003.raw");
    EXPECT_EQ(layers.baseTranspose, 24);
}

TEST_F(LayerSampleLookupTest, FilterBlendsWithTheNeighbouringZone) {
    const POIP* low = pool.get(0);
    LayerSamples layers;
    findLayerSamples(low, low, low, 55, layers);  // upper half of zone 60: neighbour 127
    EXPECT_EQ(name(layers.filterA), "L00002.raw");
    EXPECT_EQ(name(layers.filterB), "L00003.raw");
    EXPECT_FLOAT_EQ(layers.filterWeight, 0.75f);
    findLayerSamples(low, low, pool.get(1), 55, layers);  // one zone: no neighbour
    EXPECT_EQ(name(layers.filterA), "L00009.raw");
    EXPECT_EQ(layers.filterB, nullptr);
    EXPECT_FLOAT_EQ(layers.filterWeight, 1.0f);
}

TEST_F(LayerSampleLookupTest, MissingInstrumentsGiveNoResources) {
    LayerSamples layers;
    layers.baseTranspose = 12;
    findLayerSamples(nullptr, pool.get(1), nullptr, 60, layers);
    EXPECT_EQ(layers.base, nullptr);
    EXPECT_EQ(layers.baseTranspose, 12);
    EXPECT_EQ(name(layers.top), "T00009.raw");
    EXPECT_EQ(layers.filterA, nullptr);
    EXPECT_EQ(layers.filterB, nullptr);
}

}  // namespace
