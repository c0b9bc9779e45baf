#include "engine/MultiPointEnvelope.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "data/FMemoryStream.h"

namespace {

// A record as a writer would lay it out, with the fields a test wants to spoil.
struct Record {
    std::int32_t count = 4, maximum = 8, slots = 8, sustain = 2;
    double times[8] = {0.1, 0.2, 0.3, 0, 0, 0, 0, 0};
    double levels[8] = {0.5, 1, 0.25, 0, 0, 0, 0, 0};
    bool swap = false;

    std::vector<unsigned char> bytes() const {
        FMemoryStream s;
        s.setSwapBytes(swap);
        for (std::int32_t v : {std::int32_t{1}, count, maximum, slots}) s.writeU32(v);
        for (std::int32_t i = 0; i < slots; ++i) {
            s.writeF64(i < 8 ? times[i] : 0.5);
            s.writeF64(i < 8 ? levels[i] : 0.5);
        }
        for (std::int32_t v : {sustain, 0, 0, 0}) s.writeU32(v);
        const auto* p = static_cast<const unsigned char*>(s.memory());
        return {p, p + s.length()};
    }
};

bool readInto(MultiPointEnvelope& env, const Record& r) {
    std::vector<unsigned char> b = r.bytes();
    FMemoryStream s(b.data(), b.size());
    s.setSwapBytes(r.swap);
    return env.read(s);
}

std::vector<double> positions(const MultiPointEnvelope& env) {
    std::vector<double> p;
    for (int i = 0; i < env.count(); ++i) p.push_back(env.position(i));
    return p;
}

TEST(MultiPointEnvelope, InsertAndRemoveKeepTheSustainPoint) {
    MultiPointEnvelope env;
    // Insert at 0: the old points move up untouched, the sustain point with them.
    EXPECT_EQ(env.insertPoint(0), 0);
    EXPECT_EQ(positions(env), (std::vector<double>{0, 0, 0, 0.25, 0.2505}));
    EXPECT_EQ(env.point(0).level + env.point(0).bend, 0.0);
    EXPECT_EQ(env.point(2).bend, -0.5);
    EXPECT_EQ(env.sustain(), 3);
    // -1 and past-the-end indices append.
    EXPECT_EQ(env.insertPoint(-1), 5);
    EXPECT_EQ(env.insertPoint(99), 6);
    EXPECT_EQ(env.insertPoint(7), 7);
    EXPECT_EQ(env.count(), 8);
    EXPECT_EQ(env.sustain(), 3);
    // Full: nothing happens, 0 is answered.
    EXPECT_EQ(env.insertPoint(2), 0);
    EXPECT_EQ(std::pair(env.count(), env.sustain()), std::pair(8, 3));

    // Removing the sustain point makes the one before it the sustain point.
    env.removePoint(3);
    EXPECT_EQ(env.sustain(), 2);
    env.removePoint(env.count() - 1);  // the last point stays
    EXPECT_EQ(env.count(), 7);
    // Removing point 0 while it is the sustain point keeps a valid index.
    env.setSustain(0);
    env.removePoint(0);
    EXPECT_EQ(env.sustain(), 0);
    env.setSustain(40);
    EXPECT_EQ(env.sustain(), 0);
    // The first point of an envelope without points is its sustain point.
    Record empty;
    empty.count = 0;
    ASSERT_TRUE(readInto(env, empty));
    EXPECT_EQ(env.insertPoint(0), 0);
    EXPECT_EQ(env.sustain(), 0);
}

TEST(MultiPointEnvelope, PointsAreClampedAndFinalized) {
    MultiPointEnvelope env;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    env.setPoint(1, {3.0, nan, 0, -7});
    EXPECT_EQ(env.point(1).time, 1.0);
    EXPECT_EQ(env.point(1).level, 0.0);
    EXPECT_EQ(env.point(1).bend, -1.0);
    env.setPoint(3, {0.5, 0.9, 0, 0});
    EXPECT_EQ(env.point(3).level, 0.0);  // the end is always silent
    env.setPoint(2, {0, 0.5, 0, 0});
    EXPECT_EQ(env.point(2).time, MultiPointEnvelope::kMinFinalTime);
    EXPECT_EQ(env.point(2).step, -0.5);
    EXPECT_EQ(&env.point(9), &env.point(0));
}

TEST(MultiPointEnvelope, RecordRoundTripsIn160Bytes) {
    for (bool swap : {false, true}) {
        MultiPointEnvelope a;
        a.insertPoint(1);
        a.setPoint(1, {0.125, 0.75, 0, 0.3});
        FMemoryStream s;
        s.setSwapBytes(swap);
        ASSERT_TRUE(a.write(s));
        EXPECT_EQ(s.length(), a.recordSize());
        MultiPointEnvelope b(3);
        s.rewind();
        ASSERT_TRUE(b.read(s));
        EXPECT_EQ(b.count(), 5);
        EXPECT_EQ(b.maxPoints(), 8);
        EXPECT_EQ(b.sustain(), 3);
        EXPECT_EQ(positions(b), positions(a));
        EXPECT_EQ(b.point(1).level, 0.75);
        EXPECT_EQ(b.point(1).bend, -0.5);  // bends are not stored: b keeps its own
    }
}

TEST(MultiPointEnvelope, ReadRecordsAreBroughtIntoRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        Record r;
        int count, maximum, sustain;
    };
    auto with = [](auto change) {
        Record r;
        change(r);
        return r;
    };
    const Case cases[] = {
        {"plain", Record{}, 4, 8, 2},
        {"sustain 9", with([](Record& r) { r.sustain = 9; }), 4, 8, 0},
        {"sustain past the points", with([](Record& r) { r.sustain = 5; }), 4, 8, 0},
        {"negative sustain", with([](Record& r) { r.sustain = -3; }), 4, 8, 0},
        {"count 12", with([](Record& r) { r.count = 12; }), 8, 8, 2},
        {"negative count", with([](Record& r) { r.count = -5; }), 0, 8, 0},
        {"maximum 40", with([](Record& r) { r.maximum = 40; }), 4, 8, 2},
        {"maximum below count", with([](Record& r) { r.maximum = -1; }), 4, 4, 2},
        {"twelve slots", with([](Record& r) { r.slots = 12; }), 4, 8, 2},
    };
    for (const Case& c : cases) {
        MultiPointEnvelope env;
        ASSERT_TRUE(readInto(env, c.r)) << c.what;
        EXPECT_EQ(env.count(), c.count) << c.what;
        EXPECT_EQ(env.maxPoints(), c.maximum) << c.what;
        EXPECT_EQ(env.sustain(), c.sustain) << c.what;
        EXPECT_LE(env.count(), env.maxPoints()) << c.what;
    }
    // Times and levels that are not numbers in 0..1 are clamped.
    Record r;
    r.times[0] = nan;
    r.times[1] = inf;
    r.levels[0] = -inf;
    r.levels[1] = 7;
    r.levels[2] = nan;
    MultiPointEnvelope env;
    ASSERT_TRUE(readInto(env, r));
    EXPECT_EQ(env.point(0).time, 0.0);
    EXPECT_EQ(env.point(1).time, 1.0);
    EXPECT_EQ(env.point(0).level, 0.0);
    EXPECT_EQ(env.point(1).level, 1.0);
    EXPECT_EQ(env.point(2).level, 0.0);
    EXPECT_DOUBLE_EQ(env.length(), 1.3);
    // A short record changes nothing.
    std::vector<unsigned char> b = Record{}.bytes();
    FMemoryStream cut(b.data(), b.size() - 1);
    EXPECT_FALSE(env.read(cut));
    EXPECT_DOUBLE_EQ(env.length(), 1.3);
}

TEST(MultiPointEnvelope, CurveTables) {
    const float* rising = MultiPointEnvelope::curveTable(0);
    EXPECT_EQ(rising, MultiPointEnvelope::curveTable(0.7));
    EXPECT_NE(rising, MultiPointEnvelope::curveTable(-0.1));
    EXPECT_FLOAT_EQ(MultiPointEnvelope::curveTable(-1)[0], 1.0f - rising[4095]);
    // The lookup holds at the table's last entry for u = 1 and beyond.
    EXPECT_EQ(MultiPointEnvelope::curveAt(1, 1.0), rising[4095]);
    EXPECT_EQ(MultiPointEnvelope::curveAt(1, 5.0), rising[4095]);
    EXPECT_EQ(MultiPointEnvelope::curveAt(-1, -2.0), MultiPointEnvelope::curveTable(-1)[0]);
    // A bend blends the line with the curve.
    EXPECT_DOUBLE_EQ(MultiPointEnvelope::segmentShape(0, 0.3), 0.3);
    EXPECT_NEAR(MultiPointEnvelope::segmentShape(-1, 0.5), 1 - 1.0 / 32, 1e-3);
}

}  // namespace
