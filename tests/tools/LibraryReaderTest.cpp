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
#include "RecordingsLicence.h"
#include "SoundFont.h"
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

// Builds the Flute and the kit twice (with the sound bank when given) and reads them back.
void buildAndReadBack(const SoundFont* font) {
    const TempFolder temp, again;  // removed even when an assertion ends the test early
    const fs::path folder = temp.path();
    std::vector<InstrumentRecipe> recipes;
    for (const InstrumentRecipe& s : catalogue()) {
        if (s.name == "Flute" || s.name == "Drum Kit") recipes.push_back(s);
    }
    ASSERT_EQ(recipes.size(), 2u);
    LibraryReport report;
    std::string error;
    ASSERT_TRUE(buildLibrary(recipes, font, again.path(), &report, &error)) << error;
    ASSERT_TRUE(buildLibrary(recipes, font, folder.string(), &report, &error)) << error;
    const auto files = folderContents(folder);
    EXPECT_EQ(files, folderContents(again.path()));
    EXPECT_EQ(report.files, static_cast<int>(files.size()));
    EXPECT_EQ(report.recorded, font ? 1 : 0);
    EXPECT_EQ(files.count(kRecordingsLicenceFile), font ? 1u : 0u);

    // The records of files with the same names from an earlier library go.
    PResourceTable::shared().resetForTests();
    PPool& pool = PPool::shared();
    ASSERT_TRUE(pool.loadFile((folder / "OIP" / "Quor.xml").string().c_str()));
    ASSERT_EQ(pool.count(), 2);
    EXPECT_STREQ(pool.get(0)->name, "Flute");
    EXPECT_STREQ(pool.get(0)->category, "Woodwinds");
    EXPECT_STREQ(pool.get(1)->category, "Noise and Percussion");

    PResourceTable& table = PResourceTable::shared();
    table.setRawFolder((folder / "Raw").string().c_str());
    char missing[512];
    EXPECT_EQ(table.checkMissing(missing, sizeof missing), 0) << missing;
    for (int i = 0; i < 2; ++i) {
        const POIP* instrument = pool.get(i);
        const std::vector<BuiltZone> built = makeInstrument(recipes[i], font);
        ASSERT_EQ(instrument->zones.count(), static_cast<int>(built.size()));
        for (int z = 0; z < instrument->zones.count(); ++z) {
            const PZone& zone = instrument->zones[z];
            EXPECT_EQ(zone.transpose, recipes[i].kit ? 0 : kZoneTranspose);
            EXPECT_EQ(zone.limit, z + 1 == instrument->zones.count() ? 127 : built[z].plan.limit);
            for (PResource* r : {zone.base, zone.top}) {
                table.load(r);
                ASSERT_TRUE(r->hasData()) << r->name();
                const PResource::Samples s = r->samples();
                EXPECT_GE(s.formatVersion, 10);
                // The loop end as written: the loader did not have to cut it.
                EXPECT_EQ(s.loopEnd + kGuardSamples, s.sampleCount) << r->name();
                if (recipes[i].kit) {
                    EXPECT_TRUE(s.samples[0] == kBaseKitMarkers.entry0 ||
                                s.samples[0] == kTopKitMarkers.entry0);
                } else {
                    EXPECT_EQ(s.rootKey, built[z].plan.rootKey);
                }
            }
            // A recording's pitch may need the fine tuning; a designed loop is cut to its pitch.
            EXPECT_EQ(zone.base->samples().fineTune, built[z].files.base.fineTune);
            EXPECT_EQ(zone.top->samples().fineTune, 50);
            table.load(zone.filter);
            ASSERT_TRUE(zone.filter->hasData()) << zone.filter->name();
            const PResource::Filter f = zone.filter->filter();
            EXPECT_EQ(f.order, kFilterOrder);
            EXPECT_EQ(f.frameCount, kFilterFrames);
            EXPECT_EQ(f.gain, built[z].gain);
        }
    }

    PPropertyMatrix matrix;
    ASSERT_EQ(matrix.load((folder / "quor_prop1.prn").string().c_str(), 100, 10), 0);
    EXPECT_FLOAT_EQ(matrix.value(0, 6), 3.0f);  // Woodwinds, the third category
    EXPECT_FLOAT_EQ(matrix.value(1, 6), 9.0f);
    EXPECT_FLOAT_EQ(matrix.value(2, 0), 2.0f);  // no instrument
    EXPECT_FLOAT_EQ(matrix.value(99, 0), 2.0f);

    PResourceTable::shared().resetForTests();
}

}  // namespace

TEST(LibraryReader, SameLibraryEveryRunAndPluginReadersAcceptEveryFileUnchanged) {
    buildAndReadBack(nullptr);
}

// The same with the Flute made from its recordings (skipped without the General MIDI bank).
TEST(LibraryReader, RecordedZonesReadBackUnchanged) {
    const char* bank = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    if (!fs::exists(bank)) GTEST_SKIP() << "no sound bank at " << bank;
    SoundFont font;
    std::string error;
    ASSERT_TRUE(readSoundFontFile(bank, &font, &error)) << error;
    buildAndReadBack(&font);
}
