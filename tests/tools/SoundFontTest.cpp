// The sound bank reader on a small bank written here: what a preset plays (key and velocity
// ranges, root key, tuning, loop offsets, stereo pairs, global zones), refusal of every kind
// of damage without reading outside the bytes, and a zone's recording played held.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "HeldRecording.h"
#include "SoundFont.h"
#include "SoundFontBytes.h"
#include "SoundFontZones.h"

using namespace makelib;
using sfbytes::range;

namespace {

std::vector<std::int16_t> ramp(int n) {
    std::vector<std::int16_t> data(n);
    for (int i = 0; i < n; ++i) data[i] = static_cast<std::int16_t>(i - 500);
    return data;
}

// The pieces of the bank, so that a test can damage one of them before writing.
struct Bank {
    std::vector<sfbytes::Preset> presets{
        {"Piano",
         0,
         0,
         {{{sfgen::kFineTune, std::uint16_t(-5)}},
          {{sfgen::kKeyRange, range(40, 100)}, {sfgen::kInstrument, 0}}}},
        {"Broken", 1, 0, {{{sfgen::kInstrument, 1}}}}};
    std::vector<sfbytes::Instrument> instruments{
        {"Keys",
         {{{sfgen::kFineTune, 20}, {sfgen::kSampleModes, 1}},
          {{sfgen::kKeyRange, range(0, 59)},
           {sfgen::kRootKey, 50},
           {sfgen::kLoopStartOffset, 5},
           {sfgen::kLoopEndOffset, std::uint16_t(-10)},
           {sfgen::kSampleId, 0}},
          {{sfgen::kKeyRange, range(60, 127)}, {sfgen::kCoarseTune, 1}, {sfgen::kSampleId, 1}},
          {{sfgen::kKeyRange, range(60, 127)}, {sfgen::kSampleId, 2}},
          {{sfgen::kVelocityRange, range(0, 40)},
           {sfgen::kSampleModes, 0},
           {sfgen::kSampleId, 0}}}},
        {"Far", {{{sfgen::kStartCoarseOffset, 1}, {sfgen::kSampleId, 0}}}}};
    std::vector<sfbytes::Sample> samples{{"Low", 0, 300, 100, 250, 44100, 48, -10, 0, 1},
                                         {"High L", 300, 600, 400, 550, 22050, 72, 0, 2, 4},
                                         {"High R", 600, 900, 700, 850, 22050, 72, 0, 1, 2}};
    std::vector<std::int16_t> data = ramp(1000);

    sfbytes::Bytes bytes() const { return sfbytes::soundFont(presets, instruments, samples, data); }
};

bool read(const sfbytes::Bytes& bytes, SoundFont* font, std::string* error) {
    return readSoundFont(MemorySource(bytes.data(), bytes.size()), font, error);
}

// The 32-bit size after the first occurrence of a chunk id.
void setChunkSize(sfbytes::Bytes& bytes, const char* id, std::uint32_t size) {
    for (std::size_t at = 0; at + 8 <= bytes.size(); ++at) {
        if (std::memcmp(&bytes[at], id, 4) == 0) {
            for (int i = 0; i < 4; ++i) bytes[at + 4 + i] = (size >> (8 * i)) & 0xFF;
            return;
        }
    }
    FAIL() << id;
}

}  // namespace

TEST(SoundFont, ReadsPresetsInstrumentsSamplesAndData) {
    SoundFont font;
    std::string error;
    ASSERT_TRUE(read(Bank().bytes(), &font, &error)) << error;
    ASSERT_EQ(font.presets.size(), 2u);
    ASSERT_EQ(font.instruments.size(), 2u);
    ASSERT_EQ(font.sampleHeaders.size(), 3u);
    ASSERT_EQ(font.samples, ramp(1000));
    EXPECT_EQ(font.findPreset(0, 1), &font.presets[1]);
    EXPECT_EQ(font.findPreset(1, 0), nullptr);
    EXPECT_EQ(font.presets[0].name, "Piano");
    EXPECT_EQ(font.instruments[0].zones.size(), 5u);
    const SampleHeader& high = font.sampleHeaders[1];
    EXPECT_EQ(high.name, "High L");
    EXPECT_EQ(high.sampleRate, 22050u);
    EXPECT_EQ(high.link, 2);
    EXPECT_EQ(font.sampleHeaders[0].correction, -10);
}

TEST(SoundFont, PresetZonesResolveRangesRootTuningLoopsAndStereoPairs) {
    SoundFont font;
    std::string error;
    ASSERT_TRUE(read(Bank().bytes(), &font, &error)) << error;
    const std::vector<RecordedZone> loud = recordedZones(font, font.presets[0], 100);
    ASSERT_EQ(loud.size(), 2u) << "the right channel and the soft layer are left out";
    // Key range cut to the preset's; the zone's own root key; fine tunings of both levels (the
    // instrument's from its global zone) and the sample's correction; loop offsets.
    EXPECT_EQ(loud[0].keyLow, 40);
    EXPECT_EQ(loud[0].keyHigh, 59);
    EXPECT_EQ(loud[0].sample, 0);
    EXPECT_EQ(loud[0].partner, -1);
    EXPECT_TRUE(loud[0].looped);
    EXPECT_EQ(loud[0].start, 0u);
    EXPECT_EQ(loud[0].end, 300u);
    EXPECT_EQ(loud[0].loopStart, 105u);
    EXPECT_EQ(loud[0].loopEnd, 240u);
    EXPECT_NEAR(loud[0].pitchKey, 50.0 - (20 - 5 - 10) / 100.0, 1e-9);
    // The sample's own key, one coarse semitone, its stereo partner, its rate.
    EXPECT_EQ(loud[1].keyLow, 60);
    EXPECT_EQ(loud[1].keyHigh, 100);
    EXPECT_EQ(loud[1].partner, 2);
    EXPECT_DOUBLE_EQ(loud[1].sampleRate, 22050.0);
    EXPECT_NEAR(loud[1].pitchKey, 72.0 - (100 + 20 - 5) / 100.0, 1e-9);

    const std::vector<RecordedZone> soft = recordedZones(font, font.presets[0], 30);
    ASSERT_EQ(soft.size(), 3u);
    EXPECT_FALSE(soft[1].looped) << "its local sample mode plays it once";
    EXPECT_EQ(soft[1].keyLow, 40);
    EXPECT_EQ(soft[1].keyHigh, 100);
    EXPECT_TRUE(recordedZones(font, font.presets[1], 100).empty())
        << "a zone whose start lies beyond its sample is skipped";
}

TEST(SoundFont, PickedZonesCoverAllKeysInOrder) {
    std::vector<RecordedZone> zones;
    for (int z = 0; z < 12; ++z) {
        RecordedZone r;
        r.keyLow = 20 + 8 * z;
        r.keyHigh = 27 + 8 * z;
        r.sample = z;
        zones.push_back(r);
    }
    for (std::size_t count : {std::size_t{7}, std::size_t{12}, std::size_t{20}}) {
        const std::vector<RecordedZone> picked = pickZones(zones, count);
        ASSERT_EQ(picked.size(), std::min<std::size_t>(count, zones.size()));
        EXPECT_EQ(picked.front().keyLow, 0);
        EXPECT_EQ(picked.back().keyHigh, 127);
        for (std::size_t i = 0; i < picked.size(); ++i) {
            if (i > 0) {
                EXPECT_EQ(picked[i].keyLow, picked[i - 1].keyHigh + 1);
            }
            // The kept recording is one whose own range lies in the group.
            const RecordedZone& own = zones[picked[i].sample];
            EXPECT_GE(own.keyLow, picked[i].keyLow);
            EXPECT_LE(own.keyHigh, picked[i].keyHigh);
        }
    }
}

// Held, a looped recording runs from its start to its loop's end and then repeats the loop
// without a gap or a doubled sample, for exactly the frames asked for; one without a loop stops
// at its end.
TEST(SoundFont, HeldRecordingRepeatsItsLoopSeamlessly) {
    SoundFont font;
    font.samples = ramp(1000);
    RecordedZone zone;
    zone.start = 100;
    zone.loopStart = 130;
    zone.loopEnd = 140;
    zone.end = 200;
    struct Case {
        bool looped;
        std::size_t frames, expected;
    };
    for (const Case c : {Case{true, 75, 75}, Case{true, 25, 25}, Case{true, 40, 40},
                         Case{false, 75, 75}, Case{false, 150, 100}}) {
        zone.looped = c.looped;
        const std::vector<std::int16_t> held = heldRecording(font, zone, c.frames);
        ASSERT_EQ(held.size(), c.expected) << "looped " << c.looped << ", " << c.frames;
        for (std::size_t n = 0; n < held.size(); ++n) {
            const std::size_t at = !c.looped || n < 40 ? 100 + n : 130 + (n - 40) % 10;
            EXPECT_EQ(held[n], font.samples[at]) << "frame " << n << " of " << c.frames;
        }
    }
}

TEST(SoundFont, EveryTruncationIsRefused) {
    const sfbytes::Bytes bytes = Bank().bytes();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const sfbytes::Bytes cut(bytes.begin(), bytes.begin() + size);
        SoundFont font;
        std::string error;
        ASSERT_FALSE(read(cut, &font, &error)) << size;
        EXPECT_FALSE(error.empty()) << size;
        EXPECT_TRUE(font.presets.empty() && font.samples.empty()) << size;
    }
}

TEST(SoundFont, DamageIsRefusedWithAMessageThatNamesIt) {
    struct Case {
        const char* what;
        std::function<void(Bank&)> damage;
        std::function<void(sfbytes::Bytes&)> patch;
        const char* message;
    };
    const Case cases[] = {
        {"a bank of another kind", nullptr,
         [](sfbytes::Bytes& b) { std::memcpy(&b[8], "WAVE", 4); }, "not a SoundFont"},
        {"a sample chunk larger than the file", nullptr,
         [](sfbytes::Bytes& b) { setChunkSize(b, "smpl", 0xFFFFFFF0u); }, "claims"},
        {"a table of broken records (the last one, an odd size padded to the old one)", nullptr,
         [](sfbytes::Bytes& b) { setChunkSize(b, "shdr", 4 * 46 - 1); }, "whole records"},
        {"a missing table", nullptr,
         [](sfbytes::Bytes& b) { *std::search(b.begin(), b.end(), "pmod", "pmod" + 4) = 'q'; },
         "\"pmod\" table is missing"},
        {"a zone that names a missing instrument",
         [](Bank& k) { k.presets[1].zones[0][0].second = 7; }, nullptr, "missing instrument"},
        {"a zone that names a missing sample",
         [](Bank& k) { k.instruments[1].zones[0][1].second = 3; }, nullptr, "missing sample"},
        {"a sample beyond the data", [](Bank& k) { k.samples[2].end = 1001; }, nullptr,
         "outside the sample data"},
        {"a sample without a rate", [](Bank& k) { k.samples[0].rate = 0; }, nullptr,
         "no sample rate"},
        {"a preset whose zones lie beyond the zone table", nullptr,
         [](sfbytes::Bytes& b) {
             const std::size_t at = std::search(b.begin(), b.end(), "phdr", "phdr" + 4) - b.begin();
             b[at + 8 + 38 + 24] = 0x40;  // the second preset's first zone
         },
         "outside its zone table"},
        {"zone generators beyond their table", nullptr,
         [](sfbytes::Bytes& b) {
             const std::size_t at = std::search(b.begin(), b.end(), "ibag", "ibag" + 4) - b.begin();
             b[at + 8 + 4] = 0x70;
         },
         "generators lie outside"},
    };
    for (const Case& c : cases) {
        Bank bank;
        if (c.damage) c.damage(bank);
        sfbytes::Bytes bytes = bank.bytes();
        if (c.patch) c.patch(bytes);
        SoundFont font;
        std::string error;
        EXPECT_FALSE(read(bytes, &font, &error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
}

TEST(SoundFont, MissingFileIsReported) {
    SoundFont font;
    std::string error;
    EXPECT_FALSE(readSoundFontFile("/no/such/bank.sf2", &font, &error));
    EXPECT_NE(error.find("cannot open /no/such/bank.sf2"), std::string::npos) << error;
}
