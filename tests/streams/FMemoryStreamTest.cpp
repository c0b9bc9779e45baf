#include "data/FMemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

TEST(FMemoryStream, GrowsInSteps) {
    FMemoryStream stream;
    EXPECT_EQ(stream.capacity(), 0u);
    std::vector<char> data(20000, 'q');
    EXPECT_EQ(stream.writeRaw(data.data(), data.size()), data.size());
    EXPECT_EQ(stream.capacity(), 32768u);
    EXPECT_EQ(stream.length(), 20000u);
    EXPECT_EQ(stream.tell(), 20000);

    // Growing keeps what was written; a gap left by a seek reads as zeros.
    stream.setGrowth(1000);
    EXPECT_EQ(stream.seek(40000, 0), 40000);
    EXPECT_EQ(stream.writeRaw("end", 3), 3u);
    EXPECT_EQ(stream.capacity(), 40768u);
    EXPECT_EQ(stream.length(), 40003u);
    const auto* block = static_cast<const char*>(stream.memory());
    EXPECT_EQ(block[0], 'q');
    EXPECT_EQ(block[19999], 'q');
    EXPECT_EQ(block[20000], 0);
    EXPECT_EQ(std::memcmp(block + 40000, "end", 3), 0);
}

TEST(FMemoryStream, ReadsStopAtTheUsedLength) {
    FMemoryStream stream;
    stream.writeRaw("0123456789", 10);
    char out[16] = {};
    EXPECT_EQ(stream.seek(5, 2), 10);
    EXPECT_EQ(stream.readRaw(out, 4), 0u);
    EXPECT_EQ(stream.tell(), 10);

    EXPECT_EQ(stream.seek(-3, 2), 7);
    EXPECT_EQ(stream.readRaw(out, sizeof out), 3u);
    EXPECT_STREQ(out, "789");

    // Past the end through a forward seek: nothing to read, the position comes back to the end.
    EXPECT_EQ(stream.seek(100, 0), 100);
    EXPECT_EQ(stream.readRaw(out, 1), 0u);
    EXPECT_EQ(stream.tell(), 10);

    EXPECT_EQ(stream.seek(-11, 1), -1);
    EXPECT_EQ(stream.tell(), 10);
    EXPECT_EQ(stream.seek(0, 3), -1);
}

TEST(FMemoryStream, CallersBlockIsNeverWrittenPastItsLength) {
    unsigned char block[12];
    std::memset(block, 0xAA, sizeof block);
    FMemoryStream stream(block, 8);
    stream.setSwapBytes(true);
    EXPECT_TRUE(stream.writeU32(std::uint32_t{0x43636E4B}));
    EXPECT_TRUE(stream.writeU16(std::uint16_t{0x0102}));
    EXPECT_FALSE(stream.writeU32(std::uint32_t{0xFFFFFFFF}));  // two bytes left: refused whole
    EXPECT_TRUE(stream.writeU16(std::int16_t{-1}));
    EXPECT_FALSE(stream.writeU8(0));
    const unsigned char expected[12] = {0x43, 0x63, 0x6E, 0x4B, 0x01, 0x02,
                                        0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(block, expected, sizeof block), 0);
    EXPECT_EQ(stream.memory(), block);
    EXPECT_EQ(stream.length(), 8u);

    stream.rewind();
    stream.setSwapBytes(false);
    std::uint32_t value = 0;
    EXPECT_TRUE(stream.readU32(&value));
    EXPECT_EQ(value, 0x4B6E6343u);
}

TEST(FMemoryStream, HugePositionsNeitherWrapNorCorrupt) {
    FMemoryStream stream;
    stream.writeRaw("abc", 3);
    const auto maxPosition = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(stream.seek(maxPosition, 0), maxPosition);
    EXPECT_EQ(stream.seek(1, 1), -1);
    // The block can't grow to the position: the write fails and the stream is left empty.
    EXPECT_EQ(stream.writeRaw("x", 1), 0u);
    EXPECT_EQ(stream.length(), 0u);
    EXPECT_EQ(stream.memory(), nullptr);

    unsigned char block[4] = {};
    FMemoryStream fixed(block, sizeof block);
    fixed.seek(maxPosition, 0);
    EXPECT_EQ(fixed.writeRaw("x", 1), 0u);
    EXPECT_EQ(fixed.memory(), block);
}

TEST(FMemoryStream, ItemsWithOverflowingSizesAreRefused) {
    FMemoryStream stream;
    const std::uint16_t items[3] = {1, 2, 3};
    EXPECT_EQ(stream.writeItems(items, sizeof items[0], 3), 6u);
    EXPECT_EQ(stream.writeItems(items, SIZE_MAX / 2, 3), 0u);
    EXPECT_EQ(stream.length(), 6u);
    stream.rewind();
    std::uint16_t back[3] = {};
    EXPECT_EQ(stream.readItems(back, SIZE_MAX / 2, 3), 0u);
    EXPECT_EQ(stream.readItems(back, sizeof back[0], 3), 6u);
    EXPECT_EQ(back[2], 3);
}

}  // namespace
