// Voices rendered side by side in lanes against the same voices rendered one by one with the
// portable kernel: many random preset-like settings, songs with notes starting, released,
// re-struck and stolen at any frame, blocks longer and shorter than a control block, and voices
// of two filter orders sharing groups.
#include "engine/VoiceLanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "engine/EngineRandom.h"
#include "engine/KernelChoice.h"
#include "engine/PRSVoice.h"
#include "engine/PRSVoicer.h"
#include "engine/VoiceTestSupport.h"
#include "engine/VoicerTestSupport.h"
#include "platform/Platform.h"

namespace {

struct Song {
    std::vector<int32_t> blockSizes;
    std::vector<std::vector<HostMidiEvent>> blocks;
};

Song randomSong(std::mt19937& random) {
    const int32_t sizes[] = {512, 300, 1024, 64, 777, 512, 200};
    std::uniform_int_distribution<int> note(40, 80), velocity(30, 127), count(0, 3);
    Song song;
    for (int b = 0; b < 48; ++b) {
        const int32_t size = sizes[b % 7];
        std::uniform_int_distribution<int32_t> inBlock(0, size - 1), past(0, size + 100);
        std::vector<HostMidiEvent> events;
        if (b == 0) {
            // Control blocks end at 200 (released there) and at this block's end (released at
            // the start of the next).
            events.push_back(midiEvent(0x90, 60, 100, 0));
            events.push_back(midiEvent(0x90, 63, 100, 312));
            events.push_back(midiEvent(0x80, 60, 0, 200));
        } else if (b == 1) {
            events.push_back(midiEvent(0x80, 63, 0, 0));
        }
        for (int n = count(random); n > 0; --n)
            events.push_back(midiEvent(0x90, note(random), velocity(random), past(random)));
        for (int n = count(random) / 2; n > 0; --n)
            events.push_back(midiEvent(0x80, note(random), 0, inBlock(random)));
        if (b % 7 == 3) events.push_back(midiEvent(0xB0, 64, b % 14 == 3 ? 127 : 0, 0));
        if (b % 5 == 2) events.push_back(midiEvent(0xE0, 0, note(random), 0));
        song.blockSizes.push_back(size);
        song.blocks.push_back(events);
    }
    // Everything released, then the tails.
    song.blockSizes.push_back(512);
    song.blocks.push_back({midiEvent(0xB0, 123, 0, 0)});
    for (int b = 0; b < 30; ++b) {
        song.blockSizes.push_back(512);
        song.blocks.emplace_back();
    }
    return song;
}

struct Take {
    std::vector<float> left, right;
};

Take play(voicetest::FakeVoiceContext& context, const Song& song, int noMmx, int lanes,
          int32_t polyphony) {
    setNoMMX(noMmx);
    setVoiceLanes(lanes);
    engineRandSeed(5);
    TestHost host;
    host.record = false;
    auto batch = std::make_unique<VoiceLanes>();
    PRSVoicer voicer(&host);
    for (int i = 0; i < 64; ++i) {
        auto* voice = new PRSVoice(context);
        voicer.addVoice(voice);
        batch->attach(voice);
    }
    voicer.setBatch(batch.get());
    voicer.setPolyphony(polyphony);
    Take take;
    for (std::size_t b = 0; b < song.blocks.size(); ++b) {
        std::vector<const HostMidiEvent*> pointers;
        for (const HostMidiEvent& e : song.blocks[b]) pointers.push_back(&e);
        voicer.handleEvents(pointers.data(), static_cast<int32_t>(pointers.size()));
        const std::size_t at = take.left.size();
        take.left.resize(at + song.blockSizes[b]);
        take.right.resize(at + song.blockSizes[b]);
        float* outputs[2] = {take.left.data() + at, take.right.data() + at};
        voicer.renderReplacing(nullptr, outputs, song.blockSizes[b]);
    }
    EXPECT_EQ(voicer.activeCount(), 0) << "every voice ends in the tail";
    setNoMMX(0);
    setVoiceLanes(4);
    return take;
}

float peakOf(const std::vector<float>& x) {
    float peak = 0.0f;
    for (float v : x) peak = std::max(peak, std::fabs(v));
    return peak;
}

float peakDifference(const std::vector<float>& a, const std::vector<float>& b) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < a.size(); ++i) peak = std::max(peak, std::fabs(a[i] - b[i]));
    return peak;
}

// A preset-like setting: any value for most parameters, but sounding layers and releases short
// enough for every voice to end within the song's tail.
void randomPreset(float* params, std::mt19937& random) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int p = 0; p < 108; ++p) params[p] = unit(random);
    for (int p : {4, 5, 6, 7}) params[p] = 0.3f + 0.7f * unit(random);       // volumes
    for (int p : {10, 77, 14, 80}) params[p] = 0.3f + 0.7f * unit(random);   // sustains
    for (int p : {11, 78, 15, 81, 19, 84}) params[p] = 0.4f * unit(random);  // releases
}

TEST(VoiceLanes, RenderWhatEachVoiceRendersOnItsOwn) {
    voicetest::FakeVoiceContext context;
    std::mt19937 random(11);
    const voicetest::RawFile layer = voicetest::noiseFile(1 << 15, 3);
    context.setLayers(layer, layer, voicetest::growingFilterFile(32));
    std::vector<std::int16_t> sixth(64 * 8, 0);
    for (int i = 0; i < 64 * 8; ++i)
        sixth[i] = i % 64 < 6 ? 2000 * (i % 3 - 1) : i % 64 == 6 ? 30000 : 0;
    context.oddNoteFilter = context.load("L", rawfiles::filterFile(sixth, 8, 6).bytes(64), true);

    std::vector<int> widths = {4};
    if (platform::cpuFeatures().avx2) widths.push_back(8);
    for (int setting = 0; setting < 10; ++setting) {
        randomPreset(context.params, random);
        const Song song = randomSong(random);
        const int32_t polyphony = setting % 3 == 0 ? 5 : 32;  // a low limit steals often
        const Take reference = play(context, song, 1, 0, polyphony);
        const float peak = std::max(peakOf(reference.left), peakOf(reference.right));
        ASSERT_GT(peak, 1e-4f) << "setting " << setting << " is silent";
        for (int width : widths) {
            const Take lanes = play(context, song, 0, width, polyphony);
            EXPECT_LT(peakDifference(reference.left, lanes.left) / peak, 1e-5f)
                << width << " lanes, setting " << setting;
            EXPECT_LT(peakDifference(reference.right, lanes.right) / peak, 1e-5f)
                << width << " lanes, setting " << setting;
        }
    }
}

}  // namespace
