// The voice manager: MIDI parsing, allocation and stealing, pedals and controllers,
// frame-accurate starts and releases, program changes, requests from other threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "engine/PRSVoicer.h"
#include "engine/SoundingVoiceList.h"
#include "engine/VoicerTestSupport.h"

namespace {

class VoicerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 64; ++i) voicer.addVoice(voices.emplace_back(new TestVoice));
        voicer.setPolyphony(64);
    }
    void bytes(std::initializer_list<int> list, int32_t delta = 0) {
        for (int b : list) voicer.parseMidiByte(static_cast<uint8_t>(b), delta);
    }
    std::vector<TestVoice*> playing() {
        std::vector<TestVoice*> out;
        for (Voice* v = voicer.activeHead(); v; v = v->next)
            if (v->state == VoiceState::Playing) out.push_back(static_cast<TestVoice*>(v));
        return out;
    }
    // The newest active voice of `note`; with heldOnly, the newest one not yet releasing.
    TestVoice* voiceFor(int note, bool heldOnly = true) {
        for (Voice* v = voicer.activeHead(); v; v = v->next)
            if (v->note == note && !(heldOnly && v->releasing)) return static_cast<TestVoice*>(v);
        return nullptr;
    }
    void event(int status, int data1, int data2, int32_t delta) {
        const HostMidiEvent e = midiEvent(status, data1, data2, delta);
        const HostMidiEvent* list[] = {&e};
        voicer.handleEvents(list, 1);
    }
    // Renders one block into `left` (cleared first).
    void render(int32_t frames) {
        left.assign(frames, 0.0f);
        right.assign(frames, 0.0f);
        float* outs[2] = {left.data(), right.data()};
        voicer.renderReplacing(nullptr, outs, frames);
    }

    TestHost host;
    PRSVoicer voicer{&host};
    std::vector<TestVoice*> voices;  // owned by the voicer
    std::vector<float> left, right;
};

TEST_F(VoicerTest, RunningStatusAndVelocityZero) {
    bytes({0x90, 60, 100, 62, 100});
    ASSERT_EQ(playing().size(), 2u);
    EXPECT_EQ(playing()[0]->note, 62);
    EXPECT_NEAR(playing()[0]->velocity, 100.0 / 127.0, 1e-12);
    EXPECT_EQ(playing()[0]->velocityValue, 100);

    bytes({0x80, 62, 64});
    EXPECT_NEAR(voicer.lastNoteOffVelocity(), 64.0 / 127.0, 1e-12);
    EXPECT_TRUE(voiceFor(60) && !voiceFor(60)->releasedByManager);

    bytes({0x90, 60, 0});  // a note-on with velocity 0 is a note-off
    EXPECT_EQ(voicer.lastNoteOffVelocity(), 0.0);
    EXPECT_EQ(voiceFor(60), nullptr);
    EXPECT_TRUE(voiceFor(60, false)->releasedByManager);
}

TEST_F(VoicerTest, DataWithoutChannelStatusIsDropped) {
    bytes({0xA0, 60, 100, 61, 100});
    bytes({0xF0, 62, 100});
    EXPECT_EQ(voicer.activeCount(), 0);
    bytes({0x91, 64, 90});
    ASSERT_EQ(playing().size(), 1u);
    EXPECT_EQ(playing()[0]->channel, 1);
}

TEST_F(VoicerTest, PitchBendRange) {
    for (auto [lsb, msb, bend] :
         {std::tuple{0, 64, 0.0}, {0, 0, -1.0}, {127, 127, 8191.0 / 8192}}) {
        bytes({0xE0, lsb, msb});
        EXPECT_DOUBLE_EQ(voicer.channelState(0).pitchBend, bend);
    }
    bytes({0x90, 60, 100, 0xE0, 0, 0});
    EXPECT_EQ(playing()[0]->lastBend, -1.0);  // playing voices follow
    EXPECT_EQ(voicer.channelState(1).pitchBend, 0.0);
}

TEST_F(VoicerTest, HandleEventsReadsOnlyMidiRecords) {
    HostMidiEvent on = midiEvent(0x90, 70, 80, 5);
    on.detune = -50;
    HostMidiEvent sysex = on;
    sysex.type = 6;
    sysex.midiData[1] = 71;
    // The third byte must not be read as a status byte: a program change has one data byte.
    const HostMidiEvent program = midiEvent(0xC0, 9, 0x90);
    const HostMidiEvent* list[] = {&on, nullptr, &sysex, &program};
    voicer.handleEvents(list, 4);

    ASSERT_EQ(playing().size(), 1u);
    EXPECT_EQ(playing()[0]->note, 70);
    EXPECT_EQ(playing()[0]->startDelay, 5);
    EXPECT_DOUBLE_EQ(playing()[0]->detune, -0.5);
    EXPECT_EQ(voicer.getChannelProgram(0), 9);
}

TEST_F(VoicerTest, RestrikeReleasesTheFirstVoiceEvenWhenSustained) {
    bytes({0xB0, 64, 64, 0x90, 60, 100, 0x80, 60, 0});
    TestVoice* first = voiceFor(60);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->sustained);
    EXPECT_FALSE(first->releasedByManager);

    bytes({0x90, 60, 100});
    EXPECT_TRUE(first->releasedByManager);
    EXPECT_TRUE(first->releasing);
    TestVoice* second = voiceFor(60);
    ASSERT_TRUE(second && second != first);

    bytes({0x90, 60, 100, 0xB0, 64, 0});  // re-strike again while the key... then pedal up
    TestVoice* third = voiceFor(60);
    ASSERT_TRUE(third);
    EXPECT_FALSE(third->releasedByManager);  // lifting the pedal leaves the held key sounding
}

TEST_F(VoicerTest, StealingFollowsTheLimitOldestFirst) {
    // 64 voices and polyphony 64: half the pool plays, so the 33rd note steals the oldest.
    for (int n = 0; n < 32; ++n) voicer.noteOn(0, static_cast<int16_t>(30 + n), 100, 0);
    for (TestVoice* v : voices) EXPECT_FALSE(v->stolenByManager);
    voicer.noteOn(0, 90, 100, 0);
    voicer.noteOn(0, 91, 100, 0);
    auto* oldest = static_cast<TestVoice*>(voicer.activeTail());
    auto* next = static_cast<TestVoice*>(oldest->prev);
    EXPECT_TRUE(oldest->stolen && next->stolen);
    EXPECT_EQ(oldest->note, 30);
    EXPECT_EQ(voicer.activeCount(), 34);
    // A stolen voice keeps its fast fade: no note-off, at once or at its frame, releases it.
    voicer.noteOff(0, 30, 0, false);
    voicer.noteOff(0, 31, 5, false);
    render(16);
    EXPECT_FALSE(oldest->releasedByManager || next->releasedByManager);
}

TEST_F(VoicerTest, EveryVoiceActiveReusesTheOldest) {
    voicer.setPolyphony(0);
    for (int n = 0; n < 64; ++n) voicer.noteOn(0, static_cast<int16_t>(n), 100, 0);
    EXPECT_EQ(voicer.activeCount(), 64);
    Voice* oldest = voicer.activeTail();
    voicer.noteOn(0, 100, 100, 0);
    EXPECT_EQ(voicer.activeHead(), oldest);
    EXPECT_EQ(oldest->note, 100);
    EXPECT_EQ(voicer.activeCount(), 64);
}

TEST_F(VoicerTest, LoweringPolyphonyStealsOneVoicePerBlock) {
    voicer.setPolyphony(32);
    for (int n = 0; n < 10; ++n) voicer.noteOn(0, static_cast<int16_t>(40 + n), 100, 0);
    voicer.setPolyphony(4);
    const auto stolen = [&] {
        return std::count_if(voices.begin(), voices.end(),
                             [](TestVoice* v) { return v->stolenByManager; });
    };
    render(16);
    EXPECT_EQ(stolen(), 1);
    // The stolen tail fades; once it has finished and is freed, the next block steals again.
    voicer.activeTail()->state = VoiceState::Finished;
    render(16);
    render(16);
    EXPECT_EQ(stolen(), 2);
    EXPECT_EQ(voicer.activeCount(), 9);
}

TEST_F(VoicerTest, SustainPedalHoldsAndReleases) {
    bytes({0xB0, 64, 64, 0x90, 60, 100, 0x90, 64, 100, 0x91, 67, 100});
    bytes({0x80, 60, 0, 0x80, 64, 0, 0x81, 67, 0});
    EXPECT_TRUE(voiceFor(60)->sustained);
    EXPECT_TRUE(voiceFor(64)->sustained);
    EXPECT_FALSE(voiceFor(60)->releasedByManager);
    EXPECT_TRUE(voiceFor(67, false)->releasedByManager);  // channel 1 has no pedal down
    event(0xB0, 64, 63, 40);  // pedal up releases at once whatever its delta
    for (TestVoice* v : voices) {
        if (v->starts == 0) continue;
        EXPECT_TRUE(v->releasedByManager) << v->note;
        EXPECT_FALSE(v->pendingRelease);
    }
}

TEST_F(VoicerTest, ResetAllControllersAndAllNotesOff) {
    bytes({0xB0, 64, 127, 0xB1, 64, 127, 0xE0, 0, 0, 0xE1, 0, 0, 0xB0, 1, 127, 0xB1, 1, 127});
    bytes({0x90, 60, 100, 0x91, 61, 100});
    bytes({0xB0, 121, 0});
    EXPECT_FALSE(voicer.channelState(0).sustainDown);
    EXPECT_EQ(voicer.channelState(0).pitchBend, 0.0);
    EXPECT_EQ(voicer.channelState(0).modulation, 0.0);
    EXPECT_TRUE(voicer.channelState(1).sustainDown);
    EXPECT_EQ(voicer.channelState(1).pitchBend, -1.0);
    EXPECT_EQ(voiceFor(60)->lastBend, 0.0);

    bytes({0xB0, 123, 0});
    EXPECT_EQ(playing().size(), 2u);
    for (TestVoice* v : playing()) EXPECT_TRUE(v->releasing);
    EXPECT_EQ(host.allKeysUp, 1);
    EXPECT_EQ(voicer.channelState(1).pitchBend, 0.0);
}

// Starts and releases land on the frames their events name: the block shows 0 where no voice
// plays, 1 per held voice and 2 per released one from each event's frame on.
TEST_F(VoicerTest, StartsAndReleasesAtTheirFrames) {
    struct Case {
        const char* name;
        void (*events)(PRSVoicer&);
        int blocksBefore;                             // rendered before the block that is checked
        std::vector<std::pair<int, float>> expected;  // (first frame, value) runs to frame 64
    };
    const Case cases[] = {
        // Delta 100 in 64-frame blocks: 36 frames into the block after the next.
        {"late start", [](PRSVoicer& v) { v.noteOn(0, 60, 100, 100); }, 1, {{0, 0.0f}, {36, 1.0f}}},
        {"release inside the block",
         [](PRSVoicer& v) {
             v.noteOn(0, 60, 100, 0);
             v.noteOff(0, 60, 10, false);
         },
         0,
         {{0, 1.0f}, {10, 2.0f}}},
        {"release before its start, clamped to the start",
         [](PRSVoicer& v) {
             v.noteOn(0, 60, 100, 40);
             v.noteOff(0, 60, 10, false);
         },
         0,
         {{0, 0.0f}, {40, 2.0f}}},
        {"start and release at the block's length, carried",
         [](PRSVoicer& v) {
             v.noteOn(0, 61, 100, 64);
             v.noteOff(0, 61, 64, false);
         },
         1,
         {{0, 2.0f}}},
        // A re-strike lets the first voice go at the new note's frame, not the block's start.
        {"re-strike",
         [](PRSVoicer& v) {
             v.noteOn(0, 60, 100, 0);
             v.noteOn(0, 60, 100, 30);
         },
         0,
         {{0, 1.0f}, {30, 3.0f}}},
    };
    for (const Case& c : cases) {
        voicer.killAllVoices();
        c.events(voicer);
        render(0);  // moves nothing
        for (int b = 0; b < c.blocksBefore; ++b) render(64);
        render(64);
        for (std::size_t run = 0; run < c.expected.size(); ++run) {
            const int end = run + 1 < c.expected.size() ? c.expected[run + 1].first : 64;
            for (int i = c.expected[run].first; i < end; ++i)
                ASSERT_EQ(left[i], c.expected[run].second) << c.name << ", frame " << i;
        }
    }
}

TEST_F(VoicerTest, FinishedVoicesAreFreed) {
    voices[63]->failNote = 60;  // the first voice taken is the last added
    voicer.noteOn(0, 60, 100, 0);
    EXPECT_EQ(voicer.activeCount(), 0);
    EXPECT_EQ(voices[63]->stops, 1);

    voicer.noteOn(0, 61, 100, 0);
    voicer.noteOn(0, 62, 100, 0);
    ASSERT_EQ(voicer.activeCount(), 2);
    voicer.activeHead()->state = VoiceState::Finished;
    render(4);
    EXPECT_EQ(voicer.activeCount(), 1);
    voicer.resetVoiceIterator();
    EXPECT_EQ(voicer.nextPlayingVoice()->note, 61);
    EXPECT_EQ(voicer.nextPlayingVoice(), nullptr);

    for (TestVoice* v : voices) v->acceptRelease = false;  // a refused release frees the voice
    voicer.noteOff(0, 61, 0, false);
    EXPECT_EQ(voicer.activeCount(), 0);
}

TEST(VoicerWithoutVoices, IgnoresNotes) {
    TestHost host;
    PRSVoicer voicer(&host);
    voicer.noteOn(0, 60, 100, 0);
    EXPECT_EQ(voicer.activeCount(), 0);
}

TEST_F(VoicerTest, ProgramChangesAreHandedOn) {
    bytes({0xC3, 0});  // equal to channel 0's program, whatever the channel: ignored
    EXPECT_EQ(host.programNotices, 0);
    EXPECT_FALSE(voicer.takeProgramChanged());

    bytes({0xC5, 7});  // taken as channel 0's
    EXPECT_EQ(voicer.getChannelProgram(0), 7);
    EXPECT_EQ(voicer.getChannelProgram(5), 5);
    EXPECT_EQ(host.programNotices, 1);
    EXPECT_TRUE(voicer.takeProgramChanged());
    EXPECT_EQ(voicer.takeProgramChangedMask(), 1u);
}

TEST_F(VoicerTest, ControllersReachParameters) {
    host.controllerMap[1] = 49;
    host.controllerMap[20] = 33;
    host.params[PRSVoicer::kModWheelParam] = 0.5f;  // destination 9: Base attack, both
    bytes({0xB0, 1, 127});
    EXPECT_EQ(host.setCalls, (std::vector<int32_t>{8, 76}));
    EXPECT_FLOAT_EQ(host.params[8], 1.0f);
    EXPECT_NEAR(voicer.channelState(0).modulation, 1.0, 1e-12);

    host.setCalls.clear();
    host.params[PRSVoicer::kModWheelParam] = 0.0f;  // no destination: the map's entry
    bytes({0xB0, 1, 0, 0xB0, 20, 127, 0xB0, 21, 5});
    EXPECT_EQ(host.setCalls, (std::vector<int32_t>{49, 33}));

    bytes({0x90, 60, 100, 0xB0, 74, 33});
    EXPECT_EQ(voiceFor(60)->lastController, 74);
    EXPECT_EQ(voiceFor(60)->lastControllerValue, 33);
}

// "Master Volume" 0.8 gives every channel the volume 101/127, from the next block on; a kill
// requested from another thread also waits for it.
TEST_F(VoicerTest, RequestsFromOtherThreadsApplyAtTheNextBlock) {
    voicer.noteOn(2, 60, 100, 0);
    EXPECT_TRUE(voicer.applyParameter(PRSVoicer::kMasterVolumeParam, 0.8f));
    EXPECT_DOUBLE_EQ(voicer.channelState(2).volume, 0.78125);
    render(1);
    EXPECT_DOUBLE_EQ(voicer.channelState(15).volume, 101.0 / 127.0);
    EXPECT_DOUBLE_EQ(voiceFor(60)->volume, 101.0 / 127.0);

    voicer.requestKillAllVoices();
    EXPECT_EQ(voicer.activeCount(), 1);
    render(1);
    EXPECT_EQ(voicer.activeCount(), 0);
}

TEST_F(VoicerTest, MonoModeBringsBackThePreviousNote) {
    voicer.setMonoMode(0, true);
    voicer.noteOn(0, 60, 90, 0);
    voicer.noteOn(0, 64, 100, 0);
    voicer.noteOff(0, 64, 0, false);
    TestVoice* again = voiceFor(60);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->velocityValue, 90);
    EXPECT_EQ(voicer.channelState(0).stackCount, 1);
}

TEST(SoundingVoiceList, RegistersUpToItsRecords) {
    VoiceNodePool pool;
    SoundingVoiceList list(pool, 64);
    TestVoice voice;
    std::vector<VoiceNode*> nodes;
    for (int i = 0; i < 70; ++i) nodes.push_back(list.add(&voice));
    EXPECT_EQ(list.count(), 64);
    EXPECT_EQ(nodes[64], nullptr);
    EXPECT_EQ(list.head(), nodes[63]);
    EXPECT_EQ(list.tail(), nodes[0]);

    list.remove(nodes[0]);
    list.remove(nodes[0]);  // twice: the record goes back only once
    list.remove(nodes[40]);
    EXPECT_EQ(list.count(), 62);
    EXPECT_EQ(pool.freeCount(), 2);
    EXPECT_EQ(list.tail(), nodes[1]);
    EXPECT_EQ(nodes[39]->prev, nodes[41]);
    EXPECT_EQ(list.add(&voice), nodes[40]);
}

}  // namespace
