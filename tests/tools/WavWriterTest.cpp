// WAV output: header fields, sample encoding with clipping and rounding, and the sizes that
// close() fills in.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "RenderOptions.h"
#include "WavWriter.h"

using namespace quorrender;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> writeAndRead(WavFormat format, const std::vector<float>& left,
                                       const std::vector<float>& right) {
    const fs::path path =
        fs::temp_directory_path() / ("quor-wav-test-" + std::to_string(int(format)) + ".wav");
    {
        WavWriter wav;
        EXPECT_TRUE(wav.open(path.string(), 48000, format)) << wav.error();
        EXPECT_TRUE(wav.write(left.data(), right.data(), 1));
        EXPECT_TRUE(wav.write(left.data() + 1, right.data() + 1, left.size() - 1));
        EXPECT_TRUE(wav.close());
    }
    std::vector<std::uint8_t> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::remove(path);
    return bytes;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::int32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

TEST(WavWriter, SixteenBitHeaderAndClippedSamples) {
    const std::vector<float> left = {0.0f, 0.5f, 2.0f, std::numeric_limits<float>::quiet_NaN()};
    const std::vector<float> right = {-1.0f, -0.25f, -3.0f, 1.0f / 65536.0f};
    const auto b = writeAndRead(WavFormat::Pcm16, left, right);
    ASSERT_EQ(b.size(), 58u + 4 * 4);
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(le16(b, 20), 1);  // PCM
    EXPECT_EQ(le16(b, 22), 2);  // channels
    EXPECT_EQ(le32(b, 24), 48000u);
    EXPECT_EQ(le32(b, 28), 48000u * 4);
    EXPECT_EQ(le16(b, 32), 4);
    EXPECT_EQ(le16(b, 34), 16);
    EXPECT_EQ(le32(b, 46), 4u);  // frames
    EXPECT_EQ(std::memcmp(b.data() + 50, "data", 4), 0);
    EXPECT_EQ(le32(b, 54), 16u);
    const std::int32_t expected[] = {0, -32767, 16384, -8192, 32767, -32767, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(le16(b, 58 + 2 * i), expected[i]) << i;
}

TEST(WavWriter, TwentyFourBitAndFloat) {
    const std::vector<float> left = {0.5f, -1.0f};
    const std::vector<float> right = {-0.5f, 0.75f};
    const auto pcm = writeAndRead(WavFormat::Pcm24, left, right);
    ASSERT_EQ(pcm.size(), 58u + 2 * 6);
    EXPECT_EQ(le16(pcm, 34), 24);
    auto s24 = [&](std::size_t at) {
        std::int32_t v = pcm[at] | pcm[at + 1] << 8 | pcm[at + 2] << 16;
        return v & 0x800000 ? v - 0x1000000 : v;
    };
    EXPECT_EQ(s24(58), 4194304);  // round(0.5 * 8388607)
    EXPECT_EQ(s24(61), -4194304);
    EXPECT_EQ(s24(64), -8388607);
    const auto flt = writeAndRead(WavFormat::Float32, left, right);
    EXPECT_EQ(le16(flt, 20), 3);  // IEEE float
    EXPECT_EQ(le16(flt, 34), 32);
    float v;
    std::memcpy(&v, flt.data() + 58 + 12, 4);
    EXPECT_EQ(v, 0.75f);
}

TEST(WavWriter, UnwritablePathIsReported) {
    WavWriter wav;
    EXPECT_FALSE(wav.open("/nonexistent-folder/quor/out.wav", 44100, WavFormat::Pcm16));
    EXPECT_NE(wav.error().find("cannot create"), std::string::npos);
    const float x = 0.0f;
    EXPECT_FALSE(wav.write(&x, &x, 1));
}

TEST(RenderOptions, ParsesEveryOptionAndRefusesBadValues) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(parseRenderOptions(
        {"--rate", "48000", "p.so", "--block", "64", "--format", "float", "--program", "3",
         "--preset", "12", "--tail", "2.5", "--quiet", "s.mid", "out.wav"},
        &o, &error))
        << error;
    EXPECT_EQ(o.plugin, "p.so");
    EXPECT_EQ(o.midi, "s.mid");
    EXPECT_EQ(o.output, "out.wav");
    EXPECT_EQ(o.sampleRate, 48000);
    EXPECT_EQ(o.blockSize, 64);
    EXPECT_EQ(o.format, WavFormat::Float32);
    EXPECT_EQ(o.program, 3);
    EXPECT_EQ(o.preset, 12);
    EXPECT_DOUBLE_EQ(o.maxTailSeconds, 2.5);
    EXPECT_TRUE(o.quiet);
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"a", "b"},
                                               {"a", "b", "c", "d"},
                                               {"--rate", "0", "a", "b", "c"},
                                               {"--rate", "44100x", "a", "b", "c"},
                                               {"--block", "0", "a", "b", "c"},
                                               {"--preset", "129", "a", "b", "c"},
                                               {"--format", "8", "a", "b", "c"},
                                               {"--bogus", "1", "a", "b", "c"},
                                               {"a", "b", "c", "--tail"}}) {
        EXPECT_FALSE(parseRenderOptions(bad, &o, &error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}
