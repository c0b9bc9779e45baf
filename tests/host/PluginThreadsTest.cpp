// The host's two threads at once: the audio thread plays notes and chords while the
// user-interface thread automates every parameter, switches programs, and suspends and resumes
// the plug-in. Run under ThreadSanitizer, this finds any unsynchronised hand-off between them; in
// every build it checks that only finite numbers come out.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "host/PlayingPlugin.h"

namespace {

TEST(PluginThreads, AutomationProgramsAndSuspendWhileNotesPlay) {
    playing::Instance instance(96000.0f, 256);  // the rate converter takes part too
    ASSERT_TRUE(instance.loaded());
    VstHost& host = instance.host();
    std::atomic<bool> done{false};
    std::atomic<int> badFrames{0};

    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        for (int block = 0; !done.load() || block < 200; ++block) {
            const int note = 40 + block % 40;
            host.noteOn(0, note, 100, block % 256);
            host.noteOn(0, note + 7, 90, 3);
            host.noteOff(0, note - 9, 100);
            host.sendMidi(0xB0, 1, static_cast<std::uint8_t>(block % 128));
            if (block % 40 == 0) host.sendMidi(0xC0, static_cast<std::uint8_t>(block % 8), 0);
            host.process(left.data(), right.data(), 256);
            for (int i = 0; i < 256; ++i)
                if (!std::isfinite(left[i]) || !std::isfinite(right[i])) badFrames.fetch_add(1);
        }
    });

    for (int round = 0; round < 30; ++round) {
        for (std::int32_t p = 0; p < kNumParams; ++p)
            host.setParameter(p, static_cast<float>((p * 37 + round * 11) % 101) / 100.0f);
        host.setParameter(91, 0.0f);  // keep the effects running
        if (round % 5 == 2) {
            host.setProgram(round % 8);
            host.idle();
        }
        if (round % 7 == 3) {
            host.suspend();
            host.resume();
        }
        host.idle();
    }
    done.store(true);
    audio.join();
    EXPECT_EQ(badFrames.load(), 0);
}

}  // namespace
