#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestLibrary.h"
#include "data/FMemoryStream.h"
#include "data/PPool.h"
#include "data/PResourceTable.h"

namespace {

using testlib::TestLibrary;

class Pool : public ::testing::Test {
protected:
    void SetUp() override { testlib::resetLibrary(); }
    void TearDown() override { testlib::resetLibrary(); }

    PPool& pool = PPool::shared();
    PResourceTable& table = PResourceTable::shared();

    bool load(const std::string& xml) { return pool.loadText(xml.data(), xml.size()); }
    std::string names() const {
        std::string out;
        for (int i = 0; i < pool.count(); ++i) out += std::string(pool.get(i)->name) + ";";
        return out;
    }
};

TEST_F(Pool, ReadsNumberedAndNamedZonesSharingRecords) {
    ASSERT_TRUE(load(
        "<?xml version='1.0'?><oip-pool>\n"
        "  <oip name='Bowl' category='Metal'>\n"
        "    <zone limit='40' transpose='-2' rn='5' base='x.raw' top='y.raw' filter='z.raw'/>\n"
        "    <zone limit='127' base='shared.raw' top='T00005.raw' filter='f.raw'></zone>\n"
        "  </oip>\n"
        "  <oip name='Reed'><zone limit='127' rn='17'/></oip>\n"
        "</oip-pool>"));
    ASSERT_EQ(pool.count(), 2);
    const POIP* bowl = pool.get(0);
    EXPECT_STREQ(bowl->category, "Metal");
    ASSERT_EQ(bowl->zones.count(), 2);
    const PZone& z0 = bowl->zones[0];
    EXPECT_EQ(z0.limit, 40);
    EXPECT_EQ(z0.transpose, -2);
    EXPECT_STREQ(z0.base->name(), "B00005.raw");
    EXPECT_STREQ(z0.top->name(), "T00005.raw");
    EXPECT_STREQ(z0.filter->name(), "L00005.raw");
    EXPECT_TRUE(z0.filter->isFilter());
    EXPECT_FALSE(z0.base->isFilter());
    const PZone& z1 = bowl->zones[1];
    EXPECT_STREQ(z1.base->name(), "shared.raw");
    EXPECT_EQ(z1.top, z0.top);  // one record per file name
    EXPECT_TRUE(z1.filter->isFilter());
    EXPECT_STREQ(pool.get(1)->category, "General");
    EXPECT_STREQ(pool.get(1)->zones[0].base->name(), "B00017.raw");
    EXPECT_EQ(table.count(), 8);
    EXPECT_EQ(table.findOrCreate("x.raw", false), nullptr);
}

TEST_F(Pool, StructureErrorsEndTheFileKeepingWhatWasRead) {
    const struct {
        const char* name;
        const char* zoneOrElement;
    } cases[] = {
        {"negative rn", "<zone limit='60' rn='-1'/>"},
        {"rn not a number", "<zone limit='60' rn='x'/>"},
        {"missing filter", "<zone limit='60' base='a.raw' top='b.raw'/>"},
        {"path in a name", "<zone limit='60' base='../a.raw' top='b.raw' filter='c.raw'/>"},
        {"samples used as filter", "<zone limit='60' base='a.raw' top='b.raw' filter='a.raw'/>"},
        {"unknown element", "<wave/>"},
        {"element inside a zone", "<zone limit='60' rn='2'><zone rn='3'/></zone>"},
    };
    for (const auto& c : cases) {
        testlib::resetLibrary();
        const std::string xml = "<oip-pool><oip name='A'><zone limit='30' rn='1'/>" +
                                std::string(c.zoneOrElement) +
                                "<zone limit='90' rn='4'/></oip><oip name='B'/></oip-pool>";
        EXPECT_FALSE(load(xml)) << c.name;
        ASSERT_EQ(pool.count(), 1) << c.name;
        const POIP* a = pool.get(0);
        // The zones read before stay; an incomplete zone never joins the instrument.
        ASSERT_GE(a->zones.count(), 1) << c.name;
        EXPECT_EQ(a->zones[0].limit, 30) << c.name;
        for (const PZone& z : a->zones) {
            EXPECT_TRUE(z.base && z.top && z.filter) << c.name;
        }
        EXPECT_EQ(a->zones[a->zones.count() - 1].limit == 90, false) << c.name;
    }
    testlib::resetLibrary();
    EXPECT_FALSE(load("<oip name='stray'/>"));  // an instrument outside the pool element
    EXPECT_FALSE(load("<oip-pool><zone rn='1'/></oip-pool>"));
    EXPECT_FALSE(load("not xml at all & more"));
    EXPECT_EQ(pool.count(), 0);
}

TEST_F(Pool, CategoriesInOrderOfFirstAppearanceAndLongTextsCut) {
    const std::string longName(300, 'n');
    ASSERT_TRUE(
        load("<oip-pool><oip name='a' category='Pad'/><oip name='b'/>"
             "<oip name='c' category=''/><oip name='d' category='Pad'/>"
             "<oip name='" +
             longName + "' category='" + longName + "'/></oip-pool>"));
    EXPECT_STREQ(pool.categoryName(0), "Pad");
    EXPECT_STREQ(pool.categoryName(1), "General");
    EXPECT_EQ(std::strlen(pool.categoryName(2)), 127u);
    EXPECT_EQ(pool.categoryName(3), nullptr);
    EXPECT_EQ(pool.categoryName(-1), nullptr);
    EXPECT_EQ(std::strlen(pool.get(4)->name), 127u);
    EXPECT_EQ(pool.indexInCategory(0, 1), 3);
    EXPECT_EQ(pool.indexInCategory(1, 1), 2);
    EXPECT_EQ(pool.indexInCategory(1, 2), -1);
    EXPECT_EQ(pool.indexInCategory(7, 0), -1);

    struct Menu : PInstrumentMenu {
        std::string entries;
        void addEntry(const char* title, bool checked) override {
            entries += std::string(title) + (checked ? "*" : "") + ";";
        }
    } menu;
    pool.fillMenu(menu, 0, 3);
    EXPECT_EQ(menu.entries, "a;d*;");
}

TEST_F(Pool, FindPrefersCategoryThenFirstByName) {
    ASSERT_TRUE(
        load("<oip-pool><oip name='Bell' category='A'/><oip name='Bell' category='B'/>"
             "<oip name='Harp' category='B'/></oip-pool>"));
    EXPECT_EQ(pool.find("B", "Bell"), 1);
    EXPECT_EQ(pool.find("C", "Bell"), 0);
    EXPECT_EQ(pool.find("A", "Harp"), 2);
    EXPECT_EQ(pool.find("A", "Gong"), -1);
    EXPECT_EQ(pool.find(nullptr, nullptr), -1);
}

TEST_F(Pool, ReferencesRoundTripAndMissingOnesBecomePlaceholders) {
    ASSERT_TRUE(load("<oip-pool><oip name='Bell' category='Metal'/></oip-pool>"));
    FMemoryStream out;
    const std::int32_t written[3] = {0, 97, -4};
    pool.writeReferences(out, written, 3);
    const char expected[] = "Metal\0Bell\0\0\0\0\0";
    ASSERT_EQ(out.length(), sizeof expected - 1);
    EXPECT_EQ(std::memcmp(out.memory(), expected, sizeof expected - 1), 0);

    const std::string longName(200, 'z');
    const char head[] = "Metal\0Bell\0\0\0Other\0Gong\0Other";
    const std::string bytes =
        std::string(head, sizeof head) + longName + '\0' + "X" + '\0' + "Bell" + '\0';
    std::vector<char> block(bytes.begin(), bytes.end());
    FMemoryStream in(block.data(), block.size());
    std::int32_t read[5] = {-9, -9, -9, -9, -9};
    EXPECT_TRUE(pool.readReferences(in, read, 5));
    EXPECT_EQ(read[0], 0);
    EXPECT_EQ(read[1], -1);  // empty name: no instrument, no placeholder
    EXPECT_EQ(read[2], 1);   // Gong is not installed
    EXPECT_EQ(read[3], 2);   // an over-long name is cut, and the texts after it stay in step
    EXPECT_EQ(read[4], 0);   // found by name in another category
    const POIP* gong = pool.get(1);
    EXPECT_STREQ(gong->name, "Gong");
    EXPECT_STREQ(gong->category, "Missing Instruments");
    EXPECT_EQ(gong->flags, POIP::kMissingFile | POIP::kPlaceholder);
    EXPECT_EQ(std::strlen(pool.get(2)->name), 127u);
    EXPECT_STREQ(pool.categoryName(1), "Missing Instruments");
    EXPECT_EQ(pool.categoryName(2), nullptr);  // listed once
    pool.removeCategory("Missing Instruments");
    EXPECT_EQ(pool.categoryName(1), nullptr);

    // Data that ends early: what was read stays, the rest is untouched.
    FMemoryStream shortIn(block.data(), 12);
    std::int32_t partial[2] = {-9, -9};
    EXPECT_FALSE(pool.readReferences(shortIn, partial, 2));
    EXPECT_EQ(partial[0], 0);
    EXPECT_EQ(partial[1], -9);
}

TEST_F(Pool, FindZoneBlendsWithTheNearerNeighbour) {
    ASSERT_TRUE(
        load("<oip-pool><oip name='i'><zone limit='40' rn='1'/><zone limit='60' rn='2'/>"
             "<zone limit='127' rn='3'/></oip><oip name='empty'/></oip-pool>"));
    const POIP* instrument = pool.get(0);
    const PZone* zones = &instrument->zones[0];
    // A key, its zone, the neighbour blended in (-1: none) and that zone's weight (-1: any).
    const struct {
        int key, zone, neighbour;
        float weight;
    } cases[] = {{55, 1, 2, 0.75f},
                 {50, 1, 0, 1.0f},
                 {128, 2, -1, 1.0f},
                 {5, 0, -1, -1.0f},  // the first zone's lower edge is key 0: no lower neighbour
                 {39, 0, 1, 1.0f / 40.0f + 0.5f}};
    float weight = 0;
    const PZone* neighbour = nullptr;
    for (const auto& c : cases) {
        EXPECT_EQ(PPool::findZone(instrument, c.key, &weight, &neighbour), zones + c.zone) << c.key;
        EXPECT_EQ(neighbour, c.neighbour < 0 ? nullptr : zones + c.neighbour) << c.key;
        if (c.weight >= 0) {
            EXPECT_FLOAT_EQ(weight, c.weight) << c.key;
        }
    }
    EXPECT_EQ(PPool::findZone(pool.get(1), 60, &weight, &neighbour), nullptr);
    EXPECT_EQ(PPool::findZone(nullptr, 60, &weight, &neighbour), nullptr);
    EXPECT_EQ(instrument->zoneForKey(61), zones + 2);
    EXPECT_EQ(instrument->zoneForKey(200), zones + 2);
}

TEST_F(Pool, LoadsTheFolderOnceInNameOrder) {
    TestLibrary lib;
    lib.writeDescription("b.xml", "<oip-pool><oip name='second'/></oip-pool>");
    lib.writeDescription("A.xml", "<oip-pool><oip name='first'/></oip-pool>");
    lib.writeDescription("c.txt", "garbage <<<");
    EXPECT_TRUE(pool.loadPool(lib.pluginPath().c_str()));
    EXPECT_EQ(names(), "first;second;");
    EXPECT_TRUE(table.hasRawFolder());
    EXPECT_FALSE(pool.loadPool(lib.pluginPath().c_str()));
    EXPECT_EQ(pool.count(), 2);
}

TEST_F(Pool, MissingOrEmptyFoldersLeaveAnEmptyPool) {
    TestLibrary lib;
    const std::string elsewhere =
        (std::filesystem::path(lib.dataFolder()) / "x" / "Quor.so").string();
    EXPECT_TRUE(pool.loadPool(elsewhere.c_str()));
    EXPECT_EQ(pool.count(), 0);
    ASSERT_EQ(testlib::messages().size(), 1u);
    EXPECT_EQ(testlib::messages()[0], "Quor: Raw folder not found, please reinstall Quor!");
    EXPECT_FALSE(pool.loadPool(elsewhere.c_str()));
    EXPECT_EQ(testlib::messages().size(), 1u);  // once per process
    pool.resetForTests();
    EXPECT_TRUE(pool.loadPool(lib.pluginPath().c_str()));
    EXPECT_EQ(pool.count(), 0);
    EXPECT_EQ(testlib::messages().size(), 1u);
}

}  // namespace
