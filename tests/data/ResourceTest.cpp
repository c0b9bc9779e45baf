#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TestLibrary.h"
#include "data/PLibraryStartup.h"
#include "data/PPool.h"
#include "data/PPropertyMatrix.h"
#include "data/PResourceTable.h"

namespace {

using testlib::filterFile;
using testlib::sampleFile;
using testlib::TestLibrary;

// Runs a validator over a copy of the bytes and answers the copy (empty when refused).
std::string validated(std::string bytes, bool filter) {
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const bool ok =
        filter ? PResource::validateFilter(data, size) : PResource::validateSamples(data, size);
    return ok ? bytes : std::string();
}

std::int32_t field32(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(RawValidation, SampleFilesKeepTheirLoopEndTwelveSamplesInsideTheFile) {
    // 1000 samples claiming a loop end of 2000: cut to 1000 - 12.
    EXPECT_EQ(field32(validated(sampleFile(1000, 10, 2000), false), 12), 988);
    EXPECT_EQ(field32(validated(sampleFile(1000, 10, 500), false), 12), 500);
    EXPECT_EQ(field32(validated(sampleFile(13, 0, 5, 1), false), 12), 1);  // the smallest usable
    const struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"shorter than its header", sampleFile(0, 0, 0).substr(0, 10)},
        {"no room beyond the loop", sampleFile(12, 0, 0)},
        {"negative loop start", sampleFile(100, -1, 50)},
        {"negative loop end", sampleFile(100, 0, -5)},
        {"inverted loop", sampleFile(100, 60, 50)},
        {"loop start beyond the cut loop end", sampleFile(100, 95, 200)},
        {"start frame beyond the loop", sampleFile(100, 10, 50, 51)},
        {"negative start frame", sampleFile(100, 10, 50, -3)},
    };
    for (const auto& c : refused) EXPECT_EQ(validated(c.bytes, false), "") << c.what;
}

TEST(RawValidation, FilterFilesHoldWholeFramesAndABoundedOrder) {
    EXPECT_EQ(field32(validated(filterFile(3, 5), true), 12), 3);
    EXPECT_EQ(field32(validated(filterFile(3, 2), true), 12), 2);
    EXPECT_NE(validated(filterFile(1, 1, 15), true), "");
    EXPECT_NE(validated(filterFile(1, 1, 1), true), "");
    const struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"no frame at all", filterFile(0, 0)},
        {"shorter than its header", filterFile(1, 1).substr(0, 40)},
        {"part of a frame", filterFile(1, 1).substr(0, 64 + 100)},
        {"zero frames", filterFile(2, 0)},
        {"negative frames", filterFile(2, -4)},
        {"order above 15", filterFile(2, 2, 16)},
        {"order 0", filterFile(2, 2, 0)},
        {"negative order", filterFile(2, 2, -1)},
    };
    for (const auto& c : refused) EXPECT_EQ(validated(c.bytes, true), "") << c.what;
}

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        testlib::resetLibrary();
        table.setRawFolder(lib.rawFolder().c_str());
    }
    void TearDown() override { testlib::resetLibrary(); }

    TestLibrary lib;
    PPool& pool = PPool::shared();
    PResourceTable& table = PResourceTable::shared();
};

TEST_F(Resources, LoadGivesAlignedValidatedDataOnce) {
    lib.writeRaw("B00001.raw", sampleFile(1000, 100, 5000, 7));
    lib.writeRaw("L00001.raw", filterFile(3, 5, 12));
    PResource* base = table.findOrCreate("B00001.raw", true);
    PResource* filter = table.findOrCreate("L00001.raw", true, true);
    const std::uint32_t readsBefore = table.loadCount();
    EXPECT_TRUE(table.load(base));
    EXPECT_TRUE(table.load(filter));
    EXPECT_FALSE(table.load(base));                  // already there
    EXPECT_EQ(table.loadCount() - readsBefore, 2u);  // what the loading indicator watches
    ASSERT_TRUE(base->hasData());
    EXPECT_EQ(base->size(), 16u + 2000u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(base->data()) % 16, 0u);
    const PResource::Samples s = base->samples();
    EXPECT_EQ(s.sampleCount, 1000);
    EXPECT_EQ(s.loopEnd, 988);
    EXPECT_EQ(s.loopStart, 100);
    EXPECT_EQ(s.startFrame, 7);
    EXPECT_EQ(s.samples[s.loopEnd + 11], 999);
    EXPECT_EQ(base->filter().file, nullptr);  // not a filter resource

    const PResource::Filter f = filter->filter();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(f.file) % 16, 0u);
    EXPECT_EQ(f.frameCount, 3);
    EXPECT_EQ(f.order, 12);
    EXPECT_EQ(f.gain, 50);
    EXPECT_EQ(f.frames[64 * 2], 2);  // first value of the third frame
    EXPECT_EQ(filter->samples().samples, nullptr);
    EXPECT_EQ(table.memoryUsage(), 2016u + 64u + 384u + 2 * 160u);
}

TEST_F(Resources, UnusableFilesAreTriedOnceAndStayWithoutData) {
    lib.writeRaw("short.raw", "tiny");
    lib.writeRaw("empty.raw", "");
    for (const char* name : {"short.raw", "empty.raw", "absent.raw"}) {
        PResource* r = table.findOrCreate(name, true);
        EXPECT_TRUE(table.load(r)) << name;
        EXPECT_FALSE(r->hasData()) << name;
        EXPECT_EQ(r->samples().samples, nullptr) << name;
        EXPECT_TRUE(r->flags() & PResource::kAttempted) << name;
        EXPECT_FALSE(table.load(r)) << name;
    }
    table.setRawFolder(nullptr);
    EXPECT_FALSE(table.load(table.findOrCreate("B00002.raw", true)));
}

// The loader's view of one file: a free waits for the last reference and settles every request
// made before it; a file is read for a holder only, and one released before its read is freed by
// the next pass.
TEST_F(Resources, RequestsReferencesAndTheLoaderPass) {
    lib.writeNumbered(3);
    const std::atomic<bool> quit{false};
    PResource* r = table.findOrCreate("B00003.raw", true);
    ASSERT_TRUE(table.load(r));
    PResourceTable::addRef(r);
    PResourceTable::want(r);  // asked again while loaded
    table.release(r);         // 0 references: release requested
    EXPECT_TRUE(r->flags() & PResource::kReleaseRequested);
    PResourceTable::addRef(r);  // taken again before the loader came round
    EXPECT_FALSE(table.unload(r));
    EXPECT_TRUE(r->hasData());
    EXPECT_TRUE(r->flags() & PResource::kReleaseRequested);
    table.release(r);
    table.loaderPass(quit);
    EXPECT_FALSE(r->hasData());
    EXPECT_EQ(r->flags(), 0u);
    table.loaderPass(quit);
    EXPECT_FALSE(r->hasData());

    PResourceTable::want(r);  // nobody holds it: the request waits for a holder
    table.loaderPass(quit);
    EXPECT_FALSE(r->hasData());
    PResourceTable::addRef(r);
    table.loaderPass(quit);
    EXPECT_TRUE(r->hasData());
    table.release(r);
    table.loaderPass(quit);
    EXPECT_FALSE(r->hasData());
    // Released while the loader was reading it: the next pass frees what was read.
    PResourceTable::addRef(r);
    PResourceTable::want(r);
    table.release(r);
    EXPECT_TRUE(table.load(r));
    table.loaderPass(quit);
    EXPECT_FALSE(r->hasData());
}

TEST_F(Resources, MissingFilesReportListsWhatFitsAndCounts) {
    ASSERT_TRUE(pool.loadText(
        "<oip-pool><oip name='A'><zone limit='127' rn='1'/></oip>"
        "<oip name='B'><zone limit='127' rn='2'/></oip><oip name='C'><zone limit='60' rn='1'/>"
        "</oip></oip-pool>",
        0));
    lib.writeNumbered(2);
    char report[512];
    EXPECT_EQ(table.checkMissing(report, sizeof report), 3);
    EXPECT_STREQ(report,
                 "Missing files detected, please reinstall Quor!\n\n"
                 "B00001.raw, T00001.raw, L00001.raw\n\n3 of 6 files missing.");
    EXPECT_EQ(pool.get(0)->flags, POIP::kMissingFile);
    EXPECT_EQ(pool.get(1)->flags, 0u);
    EXPECT_EQ(pool.get(2)->flags, 0u);  // only the first user of a file is marked

    lib.writeNumbered(1);
    EXPECT_EQ(table.checkMissing(report, sizeof report), 0);
    EXPECT_STREQ(report,
                 "Missing files detected, please reinstall Quor!\n\n\n\n0 of 6 files missing.");
}

TEST_F(Resources, MissingFilesReportNeverOverflowsItsBuffer) {
    std::string xml = "<oip-pool><oip name='many'>";
    for (int n = 0; n < 60; ++n)
        xml += "<zone limit='" + std::to_string(n) + "' rn='" + std::to_string(n) + "'/>";
    ASSERT_TRUE(pool.loadText((xml + "</oip></oip-pool>").c_str(), 0));
    std::vector<char> report(600, '#');
    EXPECT_EQ(table.checkMissing(report.data(), 512), 180);
    const std::string text(report.data());
    EXPECT_LT(text.size(), 512u);
    EXPECT_EQ(report[599], '#');
    EXPECT_NE(text.find(" ...\n\n180 of 180 files missing."), std::string::npos) << text;
    char tiny[8];
    EXPECT_EQ(table.checkMissing(tiny, sizeof tiny), 180);
    EXPECT_LT(std::strlen(tiny), sizeof tiny);
    EXPECT_EQ(table.checkMissing(nullptr, 0), 180);
}

TEST_F(Resources, WithoutRawFolderEveryInstrumentIsMarkedSilently) {
    ASSERT_TRUE(
        pool.loadText("<oip-pool><oip name='A'><zone limit='127' rn='1'/></oip>"
                      "<oip name='B'><zone limit='127' rn='1'/></oip></oip-pool>",
                      0));
    table.setRawFolder(nullptr);
    char report[64] = "untouched";
    EXPECT_EQ(table.checkMissing(report, sizeof report), 0);
    EXPECT_STREQ(report, "untouched");
    EXPECT_EQ(pool.get(0)->flags, POIP::kMissingFile);
}

TEST_F(Resources, StartUpReportsMissingFilesOncePerProcess) {
    table.setRawFolder(nullptr);
    lib.writeDescription("a.xml",
                         "<oip-pool><oip name='A'><zone limit='127' rn='4'/></oip></oip-pool>");
    lib.writeNumbered(4);
    lib.writeRaw("T00004.raw", "");  // present, though unusable: not reported
    std::filesystem::remove(lib.rawPath("L00004.raw"));
    lib.writeData("quor_prop1.prn", "0.5 1\r\n");
    EXPECT_TRUE(loadInstrumentLibrary(lib.pluginPath().c_str()));
    EXPECT_FALSE(loadInstrumentLibrary(lib.pluginPath().c_str()));
    ASSERT_EQ(testlib::messages().size(), 1u);
    EXPECT_EQ(testlib::messages()[0],
              "Quor: Missing files detected, please reinstall Quor!\n\nL00004.raw\n\n"
              "1 of 3 files missing.");
    PPropertyMatrix matrix;
    EXPECT_EQ(loadPropertyMatrix(matrix, lib.pluginPath().c_str()), 0);
    EXPECT_FLOAT_EQ(matrix.value(0, 0), 0.5f);
    EXPECT_EQ(matrix.rows(), 100);
    EXPECT_EQ(matrix.columns(), 10);
}

}  // namespace
