#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ChunkBuilder.h"
#include "PresetCompare.h"
#include "core/PChunkCodec.h"
#include "core/PProgram.h"
#include "data/FMemoryStream.h"
#include "data/PPool.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kPrograms = 8;

Bytes chunkBytes(FMemoryStream& stream) {
    auto* begin = static_cast<const std::uint8_t*>(stream.memory());
    return Bytes(begin, begin + stream.length());
}

Bytes writeProgram(const PProgram& program) {
    FMemoryStream stream;
    stream.setSwapBytes(true);
    EXPECT_TRUE(PChunkCodec::writeProgram(stream, program));
    return chunkBytes(stream);
}

Bytes writeBank(const PProgram* programs, int current) {
    FMemoryStream stream;
    stream.setSwapBytes(true);
    EXPECT_TRUE(PChunkCodec::writeBank(stream, programs, kPrograms, current));
    return chunkBytes(stream);
}

bool readProgram(const Bytes& bytes, std::size_t length, PProgram& program) {
    FMemoryStream stream(const_cast<std::uint8_t*>(bytes.data()), length);
    stream.setSwapBytes(true);
    return PChunkCodec::readProgram(stream, program);
}

bool readBank(const Bytes& bytes, PProgram* programs, int* current) {
    FMemoryStream stream(const_cast<std::uint8_t*>(bytes.data()), bytes.size());
    stream.setSwapBytes(true);
    return PChunkCodec::readBank(stream, programs, kPrograms, current);
}

std::string textAt(const Bytes& bytes, std::size_t at, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes.data()) + at, n);
}

// Gives a program contents that differ from a new program's in every preset.
void vary(PProgram& program, int seed) {
    program.setName(("Program " + std::to_string(seed)).c_str());
    program.setGroupName(2, "Strings & Pads");
    for (int p = 0; p < PProgram::kPresetCount; ++p) {
        PPreset& preset = *program.preset(p);
        preset.setName(("Sound " + std::to_string(seed * 100 + p)).c_str());
        for (int i = 0; i < kNumParams; ++i) {
            preset.setValue(i, float((i * 13 + p + seed) % 97 + 1) / 100.0f);
        }
        // Instruments 0..2 exist (in the fixture's pool and the test's placeholder).
        for (int s = 0; s < PPreset::kSlotCount; ++s) preset.setSlot(s, (s + p) % 3);
        preset.setSlot(4, PPreset::kEmptySlot);
        preset.setIcon(0, (p + seed) % 33);
        preset.setIcon(2, 32);
        preset.setLfoShapeCode(1, 0);
        preset.setLfoStep(1, p % 16, 15);
    }
    program.selectPreset(seed % 64, false);
}

class ChunkCodec : public ::testing::Test {
protected:
    void SetUp() override { resetPool(); }
    static void resetPool() {
        PPool& pool = PPool::shared();
        pool.resetForTests();
        ASSERT_EQ(pool.addInstrument("Alpha", "Keys"), 0);
        ASSERT_EQ(pool.addInstrument("Beta", "Pads"), 1);
    }
    static std::unique_ptr<PProgram[]> programs() {
        return std::unique_ptr<PProgram[]>(new PProgram[kPrograms]);
    }
};

}  // namespace

TEST_F(ChunkCodec, ProgramChunkLayout) {
    const Bytes bytes = writeProgram(PProgram());
    // Header, name, counts (64, 4, 108, 33, 3) and current preset, all big-endian.
    const Bytes header = {'P', 'x',  'C',  'k', 0x00, 0x00, 0x97, 0x84, 'R', 'S', '-', '1', 0,
                          0,   0x03, 0xE8, 0,   0,    0x07, 0xD0, 'I',  'n', 'i', 't', 0,   0,
                          0,   0,    64,   0,   0,    0,    4,    0,    0,   0,   108, 0,   0,
                          0,   33,   0,    0,   0,    3,    0,    0,    0,   0};
    ASSERT_EQ(bytes.size(), 38796u);  // 20 + 5 + 24 + 9 × 604 + 55 × 605 + 4 × 8 + 4
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + header.size()), header);

    // The first preset record: tag, 596 bytes after the length, name, values, references.
    const std::size_t record = header.size();
    EXPECT_EQ(textAt(bytes, record, 4), "Prst");
    EXPECT_EQ(bigEndian(bytes, record + 4), 596u);
    EXPECT_EQ(textAt(bytes, record + 8, 9), std::string("Preset 1\0", 9));
    EXPECT_EQ(bigEndian(bytes, record + 17), 0x3F666666u);  // 0.9f
    const std::size_t slots = record + 17 + 108 * 4;
    EXPECT_EQ(textAt(bytes, slots, 21), std::string("Keys\0Alpha\0Pads\0Beta\0", 21));
    EXPECT_EQ(textAt(bytes, slots + 21, 62), std::string(62, '\0'));
    const std::size_t icons = slots + 83;
    EXPECT_EQ(textAt(bytes, icons, 12), std::string(12, '\0'));
    EXPECT_EQ(textAt(bytes, icons + 12, 20),
              std::string("Sine\x08\x0B\x0D\x0F\x0F\x0E\x0C\x09\x07\x04\x02\x01\x01\x03\x05\x08"));
    EXPECT_EQ(textAt(bytes, record + 8 + 596, 4), "Prst");

    // The tail: four group names and a zero.
    EXPECT_EQ(textAt(bytes, bytes.size() - 36, 36),
              std::string("Group A\0Group B\0Group C\0Group D\0\0\0\0\0", 36));
}

TEST_F(ChunkCodec, BankRoundTripIsExact) {
    ASSERT_EQ(PPool::shared().addMissing("Ghost"), 2);
    auto source = programs();
    for (int p = 0; p < kPrograms; ++p) vary(source[p], p + 1);
    // A line break would end the stored text early; it is stored as a space.
    source[1].preset(2)->setName("Line\rBreak\n");
    const Bytes first = writeBank(source.get(), 5);
    EXPECT_EQ(textAt(first, 0, 4), "PxCk");
    EXPECT_EQ(bigEndian(first, 4), first.size() - 8);
    EXPECT_EQ(bigEndian(first, 20), 5u);
    EXPECT_EQ(bigEndian(first, 24), 8u);

    auto copy = programs();
    int current = -1;
    ASSERT_TRUE(readBank(first, copy.get(), &current));
    EXPECT_EQ(current, 5);
    EXPECT_STREQ(copy[1].preset(2)->name(), "Line Break ");
    source[1].preset(2)->setName("Line Break ");
    for (int p = 0; p < kPrograms; ++p) {
        EXPECT_EQ(programDifference(copy[p], source[p]), "") << "program " << p;
        // Reading selects the stored current preset.
        EXPECT_EQ(presetDifference(copy[p].editPreset(), *source[p].preset(p + 1)), "");
    }
    EXPECT_EQ(copy[0].preset(0)->slot(4), PPreset::kEmptySlot);
    EXPECT_EQ(copy[6].preset(10)->slot(7), 2);  // the placeholder is found again by its name
    EXPECT_EQ(writeBank(copy.get(), current), first);
}

TEST_F(ChunkCodec, OldVersionsAndSilentVolume) {
    ChunkBuilder::Program old;
    old.version = 1500;
    old.preset.values.assign(96, 0.25f);
    PProgram program;
    const Bytes oldBytes = ChunkBuilder().program(old).bytes;
    ASSERT_TRUE(readProgram(oldBytes, oldBytes.size(), program));
    const PPreset& preset = *program.preset(17);
    for (int i = 0; i < kNumParams; ++i) {
        float expected = (i >= 96 || i == kParamFilterEmphasis) ? 0.5f : 0.25f;
        EXPECT_EQ(preset.value(i), expected) << i;
    }

    ChunkBuilder::Program silent;
    silent.preset.values[kParamMasterVolume] = 0.0f;
    silent.preset.values[0] = std::nanf("");
    silent.preset.values[1] = 2.0f;
    silent.preset.values[2] = -1.0f;
    const Bytes silentBytes = ChunkBuilder().program(silent).bytes;
    ASSERT_TRUE(readProgram(silentBytes, silentBytes.size(), program));
    EXPECT_FLOAT_EQ(program.preset(3)->value(kParamMasterVolume), 0.8f);
    EXPECT_FLOAT_EQ(program.preset(3)->value(0), 0.9f);  // not a number: the default
    EXPECT_EQ(program.preset(3)->value(1), 1.0f);
    EXPECT_EQ(program.preset(3)->value(2), 0.0f);
    EXPECT_EQ(program.preset(3)->value(3), 0.25f);
}

// At most eight programs are read, a stored current program outside them selects program 0, and
// reading stops at the first bad program (the current program then stays).
TEST_F(ChunkCodec, BankCountsCurrentProgramAndABadProgram) {
    ChunkBuilder::Program hand;
    for (std::int32_t stored : {9, 5}) {
        ChunkBuilder bank;
        bank.bankHeader(stored, 12);
        for (int p = 0; p < kPrograms; ++p) bank.program(hand);
        auto target = programs();
        int current = -1;
        ASSERT_TRUE(readBank(bank.bytes, target.get(), &current));
        EXPECT_EQ(current, stored == 9 ? 0 : 5);
        EXPECT_STREQ(target[7].name(), "Hand");
    }
    auto target = programs();
    int current = 3;
    EXPECT_FALSE(readBank(ChunkBuilder().bankHeader(0, -1).bytes, target.get(), &current));
    EXPECT_EQ(current, 3);

    ChunkBuilder::Program good, shortProgram;
    good.name = "Good";
    shortProgram.counts[0] = 32;
    ChunkBuilder bank;
    bank.bankHeader(2, 3).program(good).program(shortProgram).program(good);
    EXPECT_FALSE(readBank(bank.bytes, target.get(), &current));
    EXPECT_EQ(current, 3);
    EXPECT_STREQ(target[0].name(), "Good");
    EXPECT_STREQ(target[0].preset(0)->name(), "P");
    EXPECT_STREQ(target[1].preset(0)->name(), "Preset 1");
    EXPECT_STREQ(target[2].name(), "Init");
}

TEST_F(ChunkCodec, RejectedHeadersAndCountsKeepThePresets) {
    const PProgram fresh;
    std::vector<Bytes> rejected = {{}, {'P', 'x'}, ChunkBuilder().tag("PxCK").bytes};
    ChunkBuilder::Program p;
    p.version = 999;
    rejected.push_back(ChunkBuilder().program(p).bytes);
    const std::int32_t badCounts[][5] = {{64, 5, 108, 33, 3}, {64, 4, 109, 33, 3},
                                         {64, 4, -1, 33, 3},  {64, 4, 108, 34, 3},
                                         {64, 4, 108, -1, 3}, {64, 4, 108, 33, 4}};
    for (const auto& counts : badCounts) {
        ChunkBuilder::Program bad;
        std::memcpy(bad.counts, counts, sizeof bad.counts);
        rejected.push_back(ChunkBuilder().program(bad).bytes);
    }
    for (const Bytes& bytes : rejected) {
        PProgram program;
        EXPECT_FALSE(readProgram(bytes, bytes.size(), program));
        for (int i = 0; i < PProgram::kPresetCount; ++i) {
            EXPECT_EQ(presetDifference(*program.preset(i), *fresh.preset(i)), "") << i;
        }
    }
}

TEST_F(ChunkCodec, TextLimitsSlotsAndIcons) {
    ChunkBuilder::Program hand;
    hand.name = std::string(100, 'n');
    hand.current = 70;
    hand.preset.name = std::string(200, 'x');
    hand.preset.icons[0] = 40;
    hand.preset.icons[1] = -1;
    hand.preset.icons[2] = 32;
    hand.counts[3] = hand.preset.slotCount = 5;
    hand.preset.references = {{"Keys", "Alpha"}, {"Other", "Beta"}, {"Strings", "Ghost"}};
    const Bytes bytes = ChunkBuilder().program(hand).bytes;
    PProgram program;
    ASSERT_TRUE(readProgram(bytes, bytes.size(), program));
    EXPECT_EQ(std::string(program.name()), std::string(47, 'n'));
    EXPECT_EQ(program.currentPreset(), 0);
    const PPreset& preset = *program.preset(1);
    // The rest of an over-long name is skipped: the fields after it are read from their place.
    EXPECT_EQ(std::string(preset.name()), std::string(127, 'x'));
    EXPECT_EQ(preset.value(50), 0.25f);
    EXPECT_EQ(preset.lfoShape(2), 0x53617731u);
    EXPECT_EQ(preset.icon(0), 0);
    EXPECT_EQ(preset.icon(1), 0);
    EXPECT_EQ(preset.icon(2), 32);
    // By category and name, by name alone, a placeholder, empty; the rest keep their instrument.
    EXPECT_EQ(preset.slot(0), 0);
    EXPECT_EQ(preset.slot(1), 1);
    const int ghost = preset.slot(2);
    ASSERT_EQ(ghost, 2);
    EXPECT_STREQ(PPool::shared().get(ghost)->category, "Missing Instruments");
    EXPECT_EQ(preset.slot(3), PPreset::kEmptySlot);
    EXPECT_EQ(preset.slot(5), 5);
}

// However many instruments the pool holds, an empty slot is stored as two empty texts, reads back
// empty and names no instrument; the instruments numbered around 97 keep their places.
TEST_F(ChunkCodec, EmptySlotsStayEmptyInALargePool) {
    PPool& pool = PPool::shared();
    while (pool.count() < 100)
        pool.addInstrument(("I" + std::to_string(pool.count())).c_str(), "M");
    PProgram source;
    PPreset& preset = *source.preset(0);
    for (int s = 0; s < PPreset::kSlotCount; ++s) preset.setSlot(s, PPreset::kEmptySlot);
    preset.setSlot(1, 97);
    preset.setSlot(2, 99);
    EXPECT_EQ(pool.get(PPreset::kEmptySlot), nullptr);
    const Bytes bytes = writeProgram(source);
    const std::size_t references = 49 + 8 + 9 + 108 * 4;  // headers, "Preset 1", values
    const char written[] = "\0\0M\0I97\0M\0I99\0";        // empty, 97, 99, then 30 empty
    EXPECT_EQ(textAt(bytes, references, 80),
              std::string(written, sizeof written - 1) + std::string(66, '\0'));
    PProgram copy;
    ASSERT_TRUE(readProgram(bytes, bytes.size(), copy));
    EXPECT_EQ(presetDifference(*copy.preset(0), preset), "");
}

// Prefixes of a valid chunk are read without a fault; complete presets are taken in order and
// the preset cut short, like all after it, keeps its old contents. Every length is tried through
// the header, the first two presets and the tail after the last preset's values, and every
// 151st in between (each try reads the whole prefix, so trying all 38 800 would take a minute;
// the fuzz target goes further).
TEST_F(ChunkCodec, TruncatedChunks) {
    PPool::shared().addMissing("Ghost");
    PProgram source;
    vary(source, 3);
    const Bytes bytes = writeProgram(source);
    const PProgram fresh;
    const std::size_t head = 25 + 24 + 2 * 612, tail = bytes.size() - 160;
    for (std::size_t length = 0; length < bytes.size();
         length += (length < head || length >= tail) ? 1 : 151) {
        // Texts cut short add placeholders, which would slow every later lookup.
        if (PPool::shared().count() > 3) {
            resetPool();
            PPool::shared().addMissing("Ghost");
        }
        PProgram program;
        ASSERT_FALSE(readProgram(bytes, length, program)) << length;
        // The selected index and the edit preset stay a pair (the next getChunk stores the edit
        // preset at that index): the old ones, or the new ones once all presets were read.
        const int current = program.currentPreset();
        ASSERT_EQ(presetDifference(program.editPreset(),
                                   current == 0 ? *fresh.preset(0) : *source.preset(current)),
                  "")
            << length;
        int p = 0;
        while (p < PProgram::kPresetCount &&
               presetDifference(*program.preset(p), *source.preset(p)).empty()) {
            ++p;
        }
        for (; p < PProgram::kPresetCount; ++p) {
            ASSERT_EQ(presetDifference(*program.preset(p), *fresh.preset(p)), "")
                << "length " << length << " preset " << p;
        }
    }
    PProgram whole;
    EXPECT_TRUE(readProgram(bytes, bytes.size(), whole));
    EXPECT_EQ(programDifference(whole, source), "");
}
