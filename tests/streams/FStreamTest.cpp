#include "data/FStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/TempFolder.h"

namespace {

std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) out += static_cast<char>(v);
    return out;
}

// A file of n bytes whose byte i is (i * 7 + i / 256) & 0xFF, so that no two nearby
// 4-byte groups are alike.
std::string pattern(std::size_t n) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return out;
}

std::uint32_t littleEndianAt(const std::string& data, std::size_t at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<unsigned char>(data[at + k]);
    return value;
}

class FStreamFile : public ::testing::Test {
protected:
    bool openFile(FStream& stream, const std::string& name, unsigned mode) {
        stream.setPath(temp.file(name).c_str());
        return stream.open(mode);
    }
    TempFolder temp;
};

TEST_F(FStreamFile, TypedValuesInBothByteOrders) {
    for (bool swap : {false, true}) {
        FStream out;
        ASSERT_TRUE(openFile(out, "values", FStream::kWrite));
        out.setSwapBytes(swap);
        EXPECT_TRUE(out.writeU32(std::uint32_t{0x43636E4B}));
        EXPECT_TRUE(out.writeU16(std::int16_t{-2}));
        EXPECT_TRUE(out.writeF32(1.0f));
        EXPECT_TRUE(out.writeF64(-2.0));
        EXPECT_TRUE(out.writeU8(0x7F));
        EXPECT_TRUE(out.setSize(out.tell()));
        out.close();

        const std::string little = bytes({0x4B, 0x6E, 0x63, 0x43, 0xFE, 0xFF, 0, 0, 0x80, 0x3F, 0,
                                          0, 0, 0, 0, 0, 0, 0xC0, 0x7F});
        const std::string big = bytes({0x43, 0x63, 0x6E, 0x4B, 0xFF, 0xFE, 0x3F, 0x80, 0, 0, 0xC0,
                                       0, 0, 0, 0, 0, 0, 0, 0x7F});
        EXPECT_EQ(temp.read("values"), swap ? big : little);

        FStream in;
        ASSERT_TRUE(openFile(in, "values", FStream::kRead));
        in.setSwapBytes(swap);
        std::uint32_t u32 = 0;
        std::int16_t s16 = 0;
        float f32 = 0;
        double f64 = 0;
        std::uint8_t u8 = 0;
        EXPECT_TRUE(in.readU32(&u32));
        EXPECT_TRUE(in.readU16(&s16));
        EXPECT_TRUE(in.readF32(&f32));
        EXPECT_TRUE(in.readF64(&f64));
        EXPECT_TRUE(in.readU8(&u8));
        EXPECT_EQ(u32, 0x43636E4Bu);
        EXPECT_EQ(s16, -2);
        EXPECT_EQ(f32, 1.0f);
        EXPECT_EQ(f64, -2.0);
        EXPECT_EQ(u8, 0x7F);
        EXPECT_FALSE(in.readU8(&u8));  // the end of the file
    }
}

TEST_F(FStreamFile, OpeningCreatesButNeverTruncates) {
    FStream stream;
    EXPECT_FALSE(openFile(stream, "missing", FStream::kRead));
    EXPECT_NE(stream.lastError(), 0u);
    std::uint8_t byte = 0;
    EXPECT_FALSE(stream.readU8(&byte));
    EXPECT_FALSE(stream.writeU8(1));

    temp.write("keep", "0123456789");
    ASSERT_TRUE(openFile(stream, "keep", FStream::kWrite));
    EXPECT_TRUE(stream.writeString("ab"));
    stream.close();
    EXPECT_EQ(temp.read("keep"), std::string("ab\0003456789", 10));

    ASSERT_TRUE(openFile(stream, "keep", FStream::kRead | FStream::kWrite));
    EXPECT_EQ(stream.size(), 10);
    EXPECT_EQ(stream.seek(-2, 2), 8);
    EXPECT_TRUE(stream.writeString(""));
    EXPECT_TRUE(stream.setSize(stream.tell()));
    EXPECT_EQ(stream.tell(), 9);
    stream.close();
    EXPECT_EQ(temp.read("keep"), std::string("ab\00034567\0", 9));

    // Resizing a file opened only for reading fails, and says so.
    ASSERT_TRUE(openFile(stream, "keep", FStream::kRead));
    EXPECT_TRUE(stream.readU8(&byte));
    EXPECT_FALSE(stream.setSize(2));
    EXPECT_NE(stream.lastError(), 0u);
    EXPECT_EQ(stream.tell(), 1);
    stream.close();
    EXPECT_EQ(temp.read("keep").size(), 9u);
}

TEST_F(FStreamFile, BufferedReadsAcrossTheBufferBoundary) {
    const std::size_t n = FStream::kBufferSize + 5000;
    const std::string data = pattern(n);
    temp.write("big", data);
    FStream stream;
    ASSERT_TRUE(openFile(stream, "big", FStream::kRead));
    stream.setBuffered(true);

    // 4-byte reads from offset 2 straddle the end of the first buffer fill.
    ASSERT_EQ(stream.seek(2, 0), 2);
    for (std::size_t at = 2; at + 4 <= n; at += 4) {
        std::uint32_t value = 0;
        ASSERT_TRUE(stream.readU32(&value)) << at;
        ASSERT_EQ(value, littleEndianAt(data, at)) << at;
        ASSERT_EQ(stream.tell(), static_cast<std::int64_t>(at + 4));
    }
    // Two bytes remain: a 4-byte read comes up short (and must not loop at the end).
    std::uint32_t value = 0;
    EXPECT_FALSE(stream.readU32(&value));
    std::uint8_t byte = 0;
    EXPECT_FALSE(stream.readU8(&byte));

    // Seeks inside the buffered bytes and outside them.
    EXPECT_EQ(stream.seek(FStream::kBufferSize + 100, 0),
              static_cast<std::int64_t>(FStream::kBufferSize + 100));
    ASSERT_TRUE(stream.readU32(&value));
    EXPECT_EQ(value, littleEndianAt(data, FStream::kBufferSize + 100));
    EXPECT_EQ(stream.seek(-1004, 1), static_cast<std::int64_t>(FStream::kBufferSize - 900));
    ASSERT_TRUE(stream.readU32(&value));
    EXPECT_EQ(value, littleEndianAt(data, FStream::kBufferSize - 900));
    EXPECT_EQ(stream.seek(10, 0), 10);
    ASSERT_TRUE(stream.readU32(&value));
    EXPECT_EQ(value, littleEndianAt(data, 10));
    EXPECT_EQ(stream.size(), static_cast<std::int64_t>(n));
}

TEST_F(FStreamFile, BufferedLargeReadsAndWritesKeepTheirPlace) {
    const std::size_t n = 3 * FStream::kBufferSize;
    const std::string data = pattern(n);
    temp.write("big", data);
    FStream stream;
    ASSERT_TRUE(openFile(stream, "big", FStream::kRead | FStream::kWrite));
    stream.setBuffered(true);

    std::vector<char> head(10), rest(n - 10);
    EXPECT_TRUE(stream.readBytes(head.data(), head.size()));
    EXPECT_EQ(stream.readRaw(rest.data(), 70000), 70000u);  // buffered, then more than a fill
    EXPECT_EQ(std::memcmp(rest.data(), data.data() + 10, 70000), 0);
    EXPECT_EQ(stream.tell(), 70010);

    // A write after read-ahead lands at the logical position.
    stream.seek(20, 0);
    std::uint8_t byte = 0;
    ASSERT_TRUE(stream.readU8(&byte));
    EXPECT_TRUE(stream.writeU8(0xEE));
    EXPECT_EQ(stream.tell(), 22);
    stream.close();
    std::string expected = data;
    expected[21] = static_cast<char>(0xEE);
    EXPECT_EQ(temp.read("big"), expected);
}

TEST_F(FStreamFile, ReadLine) {
    temp.write("lines", std::string("AB\r\nC\0DEFGHIJ", 13));
    FStream stream;
    ASSERT_TRUE(openFile(stream, "lines", FStream::kRead));
    for (bool buffered : {false, true}) {
        stream.setBuffered(buffered);
        stream.rewind();
        char line[8];
        EXPECT_EQ(stream.readLine(line, sizeof line), 2u);
        EXPECT_STREQ(line, "AB");
        EXPECT_EQ(stream.readLine(line, sizeof line), 0u);  // the LF of CR LF
        EXPECT_STREQ(line, "");
        EXPECT_EQ(stream.readLine(line, sizeof line), 1u);  // stopped by the zero byte
        EXPECT_STREQ(line, "C");

        char cut[6] = {'x', 'x', 'x', 'x', 'x', '#'};
        EXPECT_EQ(stream.readLine(cut, 5), 4u);  // takes five bytes, keeps four
        EXPECT_STREQ(cut, "DEFG");
        EXPECT_EQ(cut[5], '#');
        EXPECT_EQ(stream.readLine(line, sizeof line), 2u);
        EXPECT_STREQ(line, "IJ");
        EXPECT_EQ(stream.readLine(line, sizeof line), 0u);
    }
}

}  // namespace
