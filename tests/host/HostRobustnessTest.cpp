// Untidy hosts: calls out of order, odd rates and sizes, events of every kind. The plug-in must
// neither crash nor write where it should not.
#include <cmath>
#include <limits>
#include <vector>

#include "LoadedPlugin.h"

namespace {

// Renders a block with the outputs pre-filled and checks that every sample is a number.
void renderAndCheck(VstHost& host, int frames, bool accumulate = false) {
    std::vector<float> left(std::size_t(frames > 0 ? frames : 0) + 1, 0.25f);
    std::vector<float> right(left.size(), 0.25f);
    host.process(left.data(), right.data(), frames, accumulate);
    for (std::size_t i = 0; i < left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
    }
    // The sample after the block is never touched.
    EXPECT_EQ(left.back(), 0.25f);
    EXPECT_EQ(right.back(), 0.25f);
}

TEST(HostRobustnessBeforeOpen, CallsBeforeOpenAndResume) {
    ModuleCopy module;
    VstHost host;
    ASSERT_TRUE(host.load(module.path().c_str())) << host.error();
    renderAndCheck(host, 256);  // before open, rate and resume
    host.noteOn(0, 60, 100);
    renderAndCheck(host, 256);
    host.open();
    host.open();  // twice
    renderAndCheck(host, 64);
    host.resume();
    host.resume();
    renderAndCheck(host, 64, true);
    host.suspend();
    host.suspend();
    EXPECT_EQ(host.effectName(), "Quor");
}

using HostRobustness = LoadedPlugin;

TEST_F(HostRobustness, OddRatesAndBlockSizes) {
    VstHost& plugin = *host;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float rates[] = {0.0f,     -44100.0f, nan,      INFINITY, 1.0f,      1e12f,
                           22050.0f, 44100.0f,  48000.0f, 96000.0f, 192000.0f, 11025.0f};
    const int sizes[] = {0, -1, 1, 7, 64, 512, 4096, 1 << 30};
    for (float rate : rates) {
        plugin.setSampleRate(rate);  // without suspend and resume
        for (int size : sizes) {
            plugin.setBlockSize(size);
            renderAndCheck(plugin, 0);
            renderAndCheck(plugin, 1);
            renderAndCheck(plugin, 1000);  // more than the block size announced
        }
    }
    plugin.dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 0.0f);
    plugin.dispatch(effSetBlockSizeAndSampleRate, 0, -7, nullptr, 96000.0f);
    renderAndCheck(plugin, 300);
}

TEST_F(HostRobustness, EventListsOfEveryShape) {
    VstHost& plugin = *host;
    // Events of unknown type, a lying byteSize, odd delta frames, all-ones data.
    std::vector<VstMidiEvent> events(6);
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].type = i % 2 ? kVstMidiType : 99;
        events[i].byteSize = i == 2 ? -5 : 1 << 20;
        events[i].deltaFrames = i == 3 ? -100 : int(i) * 1000000;
        events[i].midiData[0] = char(0x90 + i);
        events[i].midiData[1] = char(0xFF);
        events[i].midiData[2] = char(0xFF);
    }
    std::vector<unsigned char> list(offsetof(VstEvents, events) + events.size() * sizeof(void*));
    auto* header = reinterpret_cast<VstEvents*>(list.data());
    header->numEvents = int(events.size());
    auto** pointers = reinterpret_cast<VstEvent**>(list.data() + offsetof(VstEvents, events));
    for (std::size_t i = 0; i < events.size(); ++i)
        pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
    EXPECT_EQ(plugin.dispatch(effProcessEvents, 0, 0, header), 1);
    renderAndCheck(plugin, 128);
    header->numEvents = 0;
    EXPECT_EQ(plugin.dispatch(effProcessEvents, 0, 0, header), 1);
    for (int note = 0; note < 128; ++note) plugin.noteOn(note % 16, note, note);
    renderAndCheck(plugin, 0);  // notes waiting, yet a block of no frames writes nothing
    renderAndCheck(plugin, 512);
}

TEST_F(HostRobustness, ManyInstancesComeAndGo) {
    std::vector<std::unique_ptr<VstHost>> others;
    for (int i = 0; i < 3; ++i) others.push_back(another());
    others[1].reset();
    others[2]->setParameter(3, 0.5f);
    EXPECT_EQ(host->parameter(3), 0.0f);  // instances share no values
    EXPECT_EQ(others[2]->parameter(3), 0.5f);
    others.clear();
}

}  // namespace
