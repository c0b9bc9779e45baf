#include "engine/LayerSampleLookup.h"

#include <gtest/gtest.h>

#include <string>

#include "data/PPool.h"
#include "data/PResource.h"
#include "data/PResourceTable.h"

namespace {

std::string name(const PResource* r) {
    return r ? r->name() : "none";
}

TEST(LayerSampleLookup, ZonesTransposesAndFilterNeighbours) {
    PResourceTable::shared().resetForTests();
    PPool pool;
    const std::string xml =
        "<oip-pool><oip name='Low'><zone limit='40' transpose='-2' rn='1'/>"
        "<zone limit='60' transpose='3' rn='2'/><zone limit='127' rn='3'/></oip>"
        "<oip name='One'><zone limit='127' rn='9'/></oip></oip-pool>";
    pool.loadText(xml.data(), xml.size());
    const POIP* low = pool.get(0);

    LayerSamples layers;
    layers.baseTranspose = 12;  // note 35 looks at key 47: zone 60
    findLayerSamples(low, low, low, 35, layers);
    EXPECT_EQ(name(layers.base), "B00002.raw");
    EXPECT_EQ(layers.baseTranspose, 15);
    EXPECT_EQ(name(layers.top), "T00001.raw");
    EXPECT_EQ(layers.topTranspose, -2);

    layers = LayerSamples{};
    findLayerSamples(low, low, low, 55, layers);  // upper half of zone 60: neighbour 127
    EXPECT_EQ(name(layers.filterA), "L00002.raw");
    EXPECT_EQ(name(layers.filterB), "L00003.raw");
    EXPECT_FLOAT_EQ(layers.filterWeight, 0.75f);

    layers = LayerSamples{};
    findLayerSamples(nullptr, pool.get(1), nullptr, 60, layers);  // empty slots: no resources
    EXPECT_EQ(layers.base, nullptr);
    EXPECT_EQ(name(layers.top), "T00009.raw");
    EXPECT_EQ(layers.filterA, nullptr);
    EXPECT_EQ(layers.filterB, nullptr);
    PResourceTable::shared().resetForTests();
}

}  // namespace
