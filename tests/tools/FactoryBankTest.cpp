// The factory bank: designed presets that name real instruments, icons that sit on the sectors
// they select, and a bank file that the plug-in's own reader takes back unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <set>
#include <tuple>

#include "Catalogue.h"
#include "FactoryBank.h"
#include "core/PChunkCodec.h"
#include "core/PDefaultBank.h"
#include "core/PProgram.h"
#include "data/FMemoryStream.h"
#include "data/PPool.h"
#include "platform/TempFolder.h"

using namespace makelib;

namespace {

// The palette's sector under a point in centre coordinates (y up), as the editor finds it.
int sectorAt(double x, double y) {
    static constexpr int kRadius[3] = {75, 148, 228};
    static constexpr int kCount[3] = {3, 12, 18};
    const double scaledY = std::trunc(y * 228.0 / 152.0);
    const double r = std::sqrt(x * x + scaledY * scaledY);
    double a = std::atan2(x, scaledY);
    if (a < 0) a += 2.0 * std::numbers::pi;
    int first = 0;
    for (int ring = 0; ring < 3; ++ring) {
        if (kRadius[ring] >= r) return first + int(a / (2.0 * std::numbers::pi / kCount[ring]));
        first += kCount[ring];
    }
    return -1;
}

std::unique_ptr<PProgram[]> factoryPrograms(bool recordings = true) {
    auto programs = std::make_unique<PProgram[]>(kBankPrograms);
    std::string error;
    EXPECT_TRUE(buildFactoryPrograms(catalogue(), recordings, programs.get(), &error)) << error;
    return programs;
}

}  // namespace

TEST(FactoryBank, IconParametersPointAtTheirSectors) {
    for (int sector = 0; sector < 33; ++sector) {
        float px, py;
        sectorIconPosition(sector, &px, &py);
        const double x = std::trunc((double(px) - 0.5) * 400.0);
        const double y = std::trunc((double(py) - 0.5) * 268.0);
        EXPECT_EQ(sectorAt(x, y), sector);
    }
}

TEST(FactoryBank, DesignedPresetsNameRealInstrumentsAndDiffer) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    const auto programs = factoryPrograms();
    const PProgram& factory = programs[0];
    EXPECT_STREQ(factory.name(), "Factory");
    std::set<std::string> names;
    std::set<std::vector<float>> sounds;
    for (int i = 0; i < PProgram::kPresetCount; ++i) {
        const PPreset& p = *factory.preset(i);
        EXPECT_TRUE(names.insert(p.name()).second) << "duplicate or unnamed preset " << i;
        EXPECT_NE(std::string(p.name()).find("Preset"), 0u) << i;
        std::set<int> slots;
        for (int s = 0; s < PPreset::kSlotCount; ++s) {
            ASSERT_GE(p.slot(s), 0);
            ASSERT_LT(p.slot(s), static_cast<int>(recipes.size())) << p.name();
            if (s >= 3) {
                EXPECT_TRUE(slots.insert(p.slot(s)).second) << p.name() << " slot " << s;
            }
        }
        for (int layer = 0; layer < 3; ++layer) {
            EXPECT_EQ(p.icon(layer), layer);
            const int sector = sectorAt(std::trunc((p.value(95 + 2 * layer) - 0.5) * 400.0),
                                        std::trunc((p.value(96 + 2 * layer) - 0.5) * 268.0));
            EXPECT_EQ(sector, layer) << p.name();
        }
        std::vector<float> values;
        for (int v = 0; v < 95; ++v) values.push_back(p.value(v));
        values.push_back(float(p.selectedInstrument(0)));
        values.push_back(float(p.selectedInstrument(1)));
        values.push_back(float(p.selectedInstrument(2)));
        sounds.insert(values);
        if (std::string(p.name()) == "Drum Kit") {  // plays the kit on Base and Top
            EXPECT_TRUE(recipes[p.selectedInstrument(0)].kit);
            EXPECT_TRUE(recipes[p.selectedInstrument(1)].kit);
        }
    }
    EXPECT_EQ(sounds.size(), 64u);  // no two designed presets are the same sound
}

// A recorded instrument's plain preset plays its recording back once settled: the Base held as
// long as the key, plain filter sets and a Filter envelope that settles, for every key and
// velocity, on the frames that hold the recording's sustain (from a third of the table on), whose
// position is amount x sustain x velocity factor + offset with frame (0.99 - position) x frames.
// Without the recordings the same instrument keeps its category's shape.
TEST(FactoryBank, EveryInstrumentHasAPlainPreset) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    const auto programs = factoryPrograms();
    const auto designedOnly = factoryPrograms(false);
    int recorded = 0;
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        const PPreset& p = *programs[1 + i / 64].preset(static_cast<int>(i % 64));
        EXPECT_EQ(recipes[i].name, p.name());
        for (int layer = 0; layer < 3; ++layer) EXPECT_EQ(p.selectedInstrument(layer), int(i));
        if (!recipes[i].recorded()) continue;
        ++recorded;
        EXPECT_EQ(p.value(45), 0.5f) << p.name() << ": emphasis";
        EXPECT_EQ(p.value(10), 1.0f) << p.name() << ": Base sustain";
        EXPECT_LT(designedOnly[1 + i / 64].preset(static_cast<int>(i % 64))->value(10), 1.0f)
            << p.name();
        for (const auto& [amount, sustain, offset] : {std::tuple{1, 18, 3}, std::tuple{0, 83, 2}}) {
            for (double velocity : {0.0, 1.27}) {
                const double factor = velocity * p.value(61) + 1.0 - p.value(61) * 0.8;
                const double position =
                    p.value(amount) * p.value(sustain) * factor + p.value(offset);
                EXPECT_GE((0.99 - position) * 12.0, 4.0) << p.name() << " at velocity " << velocity;
            }
        }
    }
    EXPECT_GE(recorded, 40);
}

TEST(FactoryBank, BankFileReadsBackThroughThePluginsReader) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    const TempFolder folder;
    const std::string path = folder.file("quor2def.fxb");
    std::string error;
    ASSERT_TRUE(writeFactoryBank(recipes, true, path, &error)) << error;
    ASSERT_EQ(PPool::shared().count(), static_cast<int>(recipes.size()));

    std::vector<std::uint8_t> chunk;
    ASSERT_TRUE(PDefaultBank::read(path.c_str(), chunk));
    FMemoryStream stream(chunk.data(), chunk.size());
    stream.setSwapBytes(true);
    auto loaded = std::make_unique<PProgram[]>(kBankPrograms);
    int current = -1;
    ASSERT_TRUE(PChunkCodec::readBank(stream, loaded.get(), kBankPrograms, &current));
    EXPECT_EQ(current, 0);
    EXPECT_EQ(PPool::shared().count(), static_cast<int>(recipes.size()));  // nothing went missing

    const auto built = factoryPrograms();
    for (int p = 0; p < kBankPrograms; ++p) {
        EXPECT_STREQ(loaded[p].name(), built[p].name());
        for (int i = 0; i < PProgram::kPresetCount; ++i) {
            const PPreset& a = *loaded[p].preset(i);
            const PPreset& b = *built[p].preset(i);
            ASSERT_STREQ(a.name(), b.name());
            for (int v = 0; v < kNumParams; ++v) ASSERT_EQ(a.value(v), b.value(v)) << a.name();
            for (int s = 0; s < PPreset::kSlotCount; ++s)
                ASSERT_EQ(a.slot(s), b.slot(s)) << a.name();
        }
    }
}
