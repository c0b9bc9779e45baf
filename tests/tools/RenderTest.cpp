// The renderer end to end, through a test instrument whose output reports what it received:
// note events at their exact frames, the tempo map through the time information, program and
// preset selection, the release tail until silence and its limit, and refusal of bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "MidiBytes.h"
#include "MidiFile.h"
#include "Renderer.h"
#include "platform/TempFolder.h"

using namespace quorrender;

namespace {

struct Rendered {
    std::vector<float> left, right;
    RenderSummary summary;
};

// 96 ticks per quarter at 120 bpm: a note from 0.5 s to 1.5 s, the tempo halving at 1.0 s.
const midibytes::Bytes kSong = midibytes::midiFile(
    1, 1, 96, {midibytes::track({0,    0xFF, 0x51, 3,   0x07, 0xA1, 0x20,  // 120 bpm
                                 0x60, 0x90, 60,   100,                    // tick 96
                                 0x60, 0xFF, 0x51, 3,   0x0F, 0x42, 0x40,  // tick 192: 60 bpm
                                 0x30, 0x80, 60,   0,                      // tick 240
                                 0,    0xFF, 0x2F, 0})});

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        options_.plugin = TEST_INSTRUMENT_PATH;
        options_.output = folder_.file("out.wav");
        options_.blockSize = 100;
        options_.format = WavFormat::Float32;
        options_.quiet = true;
        std::string error;
        ASSERT_TRUE(parseMidiFile(kSong.data(), kSong.size(), &song_, &error)) << error;
    }
    Rendered render() {
        Rendered r;
        std::string error;
        EXPECT_TRUE(renderSong(options_, song_, &r.summary, &error)) << error;
        const std::string bytes = folder_.read("out.wav");
        for (std::size_t at = 58; at + 8 <= bytes.size(); at += 8) {
            float l, rr;
            std::memcpy(&l, &bytes[at], 4);
            std::memcpy(&rr, &bytes[at + 4], 4);
            r.left.push_back(l);
            r.right.push_back(rr);
        }
        return r;
    }

    TempFolder folder_;
    RenderOptions options_;
    MidiSong song_;
};

}  // namespace

TEST_F(Render, EventsLandOnTheirFramesAndTempoFollowsTheMap) {
    options_.program = 3;
    options_.preset = 6;
    const Rendered r = render();
    ASSERT_EQ(r.left.size(), r.summary.frames);
    ASSERT_GT(r.left.size(), 66150u);
    EXPECT_EQ(r.left[22049], 0.0f);  // the note starts at 0.5 s = frame 22050, inside a block
    EXPECT_EQ(r.left[22050], 0.5f);
    EXPECT_EQ(r.left[66149], 0.5f);  // and ends at 1.5 s
    EXPECT_LT(r.left[66150], 0.5f);
    // Tempo 120 then 60 from the block that starts at 1.0 s; program 3 (index 2), preset 6 (5).
    EXPECT_EQ(r.right[22049], 0.0f);
    EXPECT_NEAR(r.right[22050], 0.120 + 0.02 + 0.0005, 1e-6);
    EXPECT_NEAR(r.right[44099], 0.120 + 0.02 + 0.0005, 1e-6);
    EXPECT_NEAR(r.right[44100], 0.060 + 0.02 + 0.0005, 1e-6);
}

TEST_F(Render, ReleaseTailRunsUntilSilenceOrItsLimit) {
    const Rendered full = render();
    EXPECT_FALSE(full.summary.tailCut);
    // The test instrument's output stays audible until its level falls below 1e-5, 10815
    // frames after the release; then the renderer waits for its silence window.
    const std::size_t silentFrom = 66150 + 10815;
    const std::size_t window = static_cast<std::size_t>(tailSilenceSeconds() * 44100);
    EXPECT_GT(full.left.size(), silentFrom + window - 200);
    EXPECT_LT(full.left.size(), silentFrom + window + 400);
    EXPECT_LT(full.left.back(), 1.0f / 32768.0f);

    options_.maxTailSeconds = 0.05;
    const Rendered cut = render();
    EXPECT_TRUE(cut.summary.tailCut);
    EXPECT_NEAR(static_cast<double>(cut.left.size()), 66150 + 2205, 200);
}

TEST_F(Render, TailWaitsForTheLateEchoesOfTheLongestDelay) {
    options_.program = 4;  // through the delay at its longest, synchronised at 60 bpm
    const Rendered r = render();
    EXPECT_FALSE(r.summary.tailCut);
    std::vector<std::size_t> onsets;
    for (std::size_t i = 1; i < r.left.size(); ++i)
        if (r.left[i - 1] < 0.1f && r.left[i] >= 0.1f) onsets.push_back(i);
    ASSERT_EQ(onsets.size(), 3u) << "the note and both of its echoes";
    EXPECT_EQ(onsets[2] - onsets[1], onsets[1] - onsets[0]);
    EXPECT_LT(r.left.back(), 1.0f / 32768.0f);
}

TEST_F(Render, MissingProgramIsRefused) {
    RenderSummary summary;
    std::string error;
    options_.program = 5;  // the test instrument has four
    EXPECT_FALSE(renderSong(options_, song_, &summary, &error));
    EXPECT_NE(error.find("program 5 does not exist"), std::string::npos) << error;
}
