// WAV output: each format's header, sample encoding with clipping and rounding, the sizes that
// close() fills in; and the renderer's command line.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "RenderOptions.h"
#include "WavWriter.h"
#include "platform/TempFolder.h"

using namespace quorrender;

namespace {

// The frames written in two calls (one frame, then the rest) at 48000 Hz; the file's bytes.
std::string writeAndRead(WavFormat format, const std::vector<float>& left,
                         const std::vector<float>& right) {
    const TempFolder folder;
    WavWriter wav;
    EXPECT_TRUE(wav.open(folder.file("out.wav"), 48000, format)) << wav.error();
    EXPECT_TRUE(wav.write(left.data(), right.data(), 1));
    EXPECT_TRUE(wav.write(left.data() + 1, right.data() + 1, left.size() - 1));
    EXPECT_TRUE(wav.close());
    return folder.read("out.wav");
}

// A little-endian value of `bytes` bytes at `at`, sign-extended.
std::int64_t le(const std::string& b, std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
    const std::uint64_t sign = std::uint64_t{1} << (8 * bytes - 1);
    return static_cast<std::int64_t>((v ^ sign) - sign);
}

}  // namespace

TEST(WavWriter, EachFormatsHeaderAndSamples) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        WavFormat format;
        int tag, bits;
        std::vector<float> left, right;
        std::vector<double> expected;  // interleaved, as stored
    } cases[] = {
        // Clipped to full scale, rounded, NaN written as silence.
        {WavFormat::Pcm16,
         1,
         16,
         {0.0f, 0.5f, 2.0f, nan},
         {-1.0f, -0.25f, -3.0f, 1.0f / 65536},
         {0, -32767, 16384, -8192, 32767, -32767, 0, 0}},
        {WavFormat::Pcm24,
         1,
         24,
         {0.5f, -1.0f},
         {-0.5f, 0.75f},
         {4194304, -4194304, -8388607, 6291455}},
        {WavFormat::Float32, 3, 32, {0.5f, -1.0f}, {-0.5f, 0.75f}, {0.5, -0.5, -1.0, 0.75}},
    };
    for (const auto& c : cases) {
        const std::string b = writeAndRead(c.format, c.left, c.right);
        const int bytes = c.bits / 8;
        const std::uint32_t data = static_cast<std::uint32_t>(c.expected.size()) * bytes;
        ASSERT_EQ(b.size(), 58u + data) << c.bits;
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(50, 4), "RIFFWAVEfmt data");
        const std::int64_t frames = static_cast<std::int64_t>(c.left.size());
        const struct {
            std::size_t at;
            int bytes;
            std::int64_t value;
        } fields[] = {{4, 4, 50 + data}, {20, 2, c.tag},         {22, 2, 2} /* channels */,
                      {24, 4, 48000},    {28, 4, 96000 * bytes}, {32, 2, 2 * bytes},
                      {34, 2, c.bits},   {46, 4, frames},        {54, 4, data}};
        for (const auto& f : fields)
            EXPECT_EQ(le(b, f.at, f.bytes), f.value) << c.bits << " @" << f.at;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const std::size_t at = 58 + i * bytes;
            float f = 0.0f;
            if (c.format == WavFormat::Float32) std::memcpy(&f, &b[at], 4);
            EXPECT_EQ(c.format == WavFormat::Float32 ? double(f) : double(le(b, at, bytes)),
                      c.expected[i])
                << c.bits << "-bit sample " << i;
        }
    }
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
