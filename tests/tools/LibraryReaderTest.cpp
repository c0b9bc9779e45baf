// A generated library, the same bytes on every run, read back by the plug-in's own readers: the
// description parser, the raw resource loader with its validation and the property matrix.
// Anything they refuse or cut would silence or detune an instrument.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "Catalogue.h"
#include "FilterTable.h"
#include "Kit.h"
#include "LibraryBuilder.h"
#include "data/PPool.h"
#include "data/PPropertyMatrix.h"
#include "data/PResource.h"
#include "data/PResourceTable.h"
#include "platform/TempFolder.h"

using namespace makelib;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> folderContents(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        out[fs::relative(entry.path(), root).generic_string()] = {
            std::istreambuf_iterator<char>(in), {}};
    }
    return out;
}

}  // namespace

TEST(LibraryReader, SameLibraryEveryRunAndPluginReadersAcceptEveryFileUnchanged) {
    const TempFolder temp, again;  // removed even when an assertion ends the test early
    const fs::path folder = temp.path();
    std::vector<InstrumentRecipe> recipes;
    for (const InstrumentRecipe& s : catalogue()) {
        if (s.name == "Flute" || s.name == "Drum Kit") recipes.push_back(s);
    }
    ASSERT_EQ(recipes.size(), 2u);
    LibraryReport report;
    std::string error;
    ASSERT_TRUE(buildLibrary(recipes, nullptr, again.path(), &report, &error)) << error;
    ASSERT_TRUE(buildLibrary(recipes, nullptr, folder.string(), &report, &error)) << error;
    const auto files = folderContents(folder);
    EXPECT_EQ(files, folderContents(again.path()));
    EXPECT_EQ(report.files, static_cast<int>(files.size()));

    PPool& pool = PPool::shared();
    pool.resetForTests();
    ASSERT_TRUE(pool.loadFile((folder / "OIP" / "Quor.xml").string().c_str()));
    ASSERT_EQ(pool.count(), 2);
    EXPECT_STREQ(pool.get(0)->name, "Flute");
    EXPECT_STREQ(pool.get(0)->category, "Woodwinds");
    EXPECT_STREQ(pool.get(1)->category, "Noise and Percussion");
    ASSERT_EQ(pool.get(0)->zones.count(), static_cast<int>(zonePlans().size()));
    ASSERT_EQ(pool.get(1)->zones.count(), 1);

    PResourceTable& table = PResourceTable::shared();
    table.setRawFolder((folder / "Raw").string().c_str());
    char missing[512];
    EXPECT_EQ(table.checkMissing(missing, sizeof missing), 0) << missing;
    for (int i = 0; i < 2; ++i) {
        const POIP* instrument = pool.get(i);
        for (int z = 0; z < instrument->zones.count(); ++z) {
            const PZone& zone = instrument->zones[z];
            EXPECT_EQ(zone.transpose, recipes[i].kit ? 0 : kZoneTranspose);
            for (PResource* r : {zone.base, zone.top}) {
                table.load(r);
                ASSERT_TRUE(r->hasData()) << r->name();
                const PResource::Samples s = r->samples();
                EXPECT_GE(s.formatVersion, 10);
                EXPECT_EQ(s.fineTune, 50);
                // The loop end as written: the loader did not have to cut it.
                EXPECT_EQ(s.loopEnd + kGuardSamples, s.sampleCount) << r->name();
                if (recipes[i].kit) {
                    EXPECT_TRUE(s.samples[0] == kBaseKitMarkers.entry0 ||
                                s.samples[0] == kTopKitMarkers.entry0);
                } else {
                    EXPECT_EQ(s.rootKey, zonePlans()[z].rootKey);
                }
            }
            table.load(zone.filter);
            ASSERT_TRUE(zone.filter->hasData()) << zone.filter->name();
            const PResource::Filter f = zone.filter->filter();
            EXPECT_EQ(f.order, kFilterOrder);
            EXPECT_EQ(f.frameCount, kFilterFrames);
            EXPECT_GT(f.gain, 0);
        }
    }

    PPropertyMatrix matrix;
    ASSERT_EQ(matrix.load((folder / "quor_prop1.prn").string().c_str(), 100, 10), 0);
    EXPECT_FLOAT_EQ(matrix.value(0, 6), 3.0f);  // Woodwinds, the third category
    EXPECT_FLOAT_EQ(matrix.value(1, 6), 9.0f);
    EXPECT_FLOAT_EQ(matrix.value(2, 0), 2.0f);  // no instrument
    EXPECT_FLOAT_EQ(matrix.value(99, 0), 2.0f);

    pool.resetForTests();
}
