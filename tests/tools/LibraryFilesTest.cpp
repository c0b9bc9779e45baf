// The file formats the generator writes: raw headers at their offsets and the description file;
// the catalogue's names and categories. The property table is read back in the reader test.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Catalogue.h"
#include "LibraryBuilder.h"
#include "PoolDescription.h"
#include "RawFiles.h"
#include "platform/TempFolder.h"

using namespace makelib;

namespace {

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                     static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::int16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

TEST(RawFiles, SampleHeaderFieldsSitAtTheirOffsets) {
    SampleData d;
    d.samples = {0, 1, -2, 300, -32768, 32767};
    for (int i = 0; i < 20; ++i) d.samples.push_back(static_cast<std::int16_t>(i));
    d.loopStart = 2;
    d.loopEnd = 10;
    d.rootKey = 70;
    const std::vector<std::uint8_t> b = sampleFileBytes(d);
    ASSERT_EQ(b.size(), 16 + 2 * d.samples.size());
    EXPECT_GE(b[0], 10);
    EXPECT_EQ(static_cast<std::int8_t>(b[2]), 70);
    EXPECT_EQ(b[3], 50);
    EXPECT_EQ(le16(b, 4), 0);
    EXPECT_EQ(le32(b, 8), 2);
    EXPECT_EQ(le32(b, 12), 10);
    for (std::size_t i = 0; i < d.samples.size(); ++i) EXPECT_EQ(le16(b, 16 + 2 * i), d.samples[i]);
}

TEST(RawFiles, FilterHeaderAndFramesSitAtTheirOffsets) {
    std::vector<FilterFrame> frames(3);
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < kFrameValues; ++i)
            frames[f][i] = static_cast<std::int16_t>(f * 1000 - i);
    const std::vector<std::uint8_t> b = filterFileBytes(137, frames);
    ASSERT_EQ(b.size(), 64u + 3 * 128);
    EXPECT_EQ(b[1], 137);
    EXPECT_EQ(le32(b, 12), 3);
    EXPECT_EQ(le16(b, 38), 10);
    EXPECT_EQ(le16(b, 64 + 128 * 2 + 2 * 5), 2000 - 5);
}

TEST(PoolDescription, WritesZonesAndEscapesNames) {
    const std::string xml = poolDescriptionXml(
        {{"Salt & \"Pepper\"", "Odd <Things>", {{40, 24, 1}, {127, 24, 2}}}, {"Plain", "B", {}}});
    EXPECT_NE(xml.find("<oip-pool>"), std::string::npos);
    EXPECT_NE(xml.find("name=\"Salt &amp; &quot;Pepper&quot;\" category=\"Odd &lt;Things&gt;\""),
              std::string::npos);
    EXPECT_NE(xml.find("<zone limit=\"40\" transpose=\"24\" rn=\"1\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<zone limit=\"127\" transpose=\"24\" rn=\"2\"/>"), std::string::npos);
    EXPECT_LT(xml.find("Salt"), xml.find("Plain"));
    EXPECT_EQ(xml.rfind("</oip-pool>\r\n"), xml.size() - 13);
}

TEST(Library, RefusesTooManyInstruments) {
    TempFolder folder;
    std::vector<InstrumentRecipe> recipes(kMaxInstruments + 1);
    LibraryReport report;
    std::string error;
    EXPECT_FALSE(buildLibrary(recipes, nullptr, folder.path(), &report, &error));
    EXPECT_FALSE(error.empty());
}

TEST(Catalogue, AboutTenCategoriesOfRecognisableInstruments) {
    const std::vector<InstrumentRecipe> recipes = catalogue();
    EXPECT_GE(recipes.size(), 85u);
    EXPECT_LE(recipes.size(), static_cast<std::size_t>(kMaxInstruments));
    std::map<int, int> perCategory;
    std::set<std::string> names;
    int kits = 0;
    for (const InstrumentRecipe& s : recipes) {
        perCategory[s.category] += 1;
        EXPECT_TRUE(names.insert(s.name).second) << "duplicate " << s.name;
        EXPECT_LT(s.name.size(), 128u);
        kits += s.kit ? 1 : 0;
    }
    EXPECT_EQ(kits, 1);
    EXPECT_EQ(perCategory.size(), categoryNames().size());
    for (const auto& [category, count] : perCategory) EXPECT_GE(count, 5) << category;
}
