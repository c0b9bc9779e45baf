// Reconfiguring the engine from another thread while blocks render: effect buffers resized and
// cleared, delays and beats set, the sweep reset, rates and block sizes changed in the converter,
// polyphony, channel volume and voice kills requested, LFO tables rebuilt. Meant for
// ThreadSanitizer; natively it checks that every output stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "engine/EngineScene.h"

namespace {

TEST(EngineThreads, ReconfigurationWhileRendering) {
    EngineScene scene;
    std::atomic<bool> done{false};
    std::atomic<int> changes{0};

    std::thread control([&] {
        uint8_t steps[16] = {};
        for (int i = 0; !done.load(); ++i) {
            float v = static_cast<float>(i % 100) / 100.0f;
            scene.delay.setDelay(v);
            scene.delay.setBeats(0.25 + v);
            scene.delay.setFeedback(v);
            scene.delay.setDamping(v);
            scene.delay.setCross(v);
            scene.delay.setWet(v);
            scene.delay.setDry(1.0f - v);
            if (i % 10 == 0) scene.delay.clear();
            if (i % 25 == 0) scene.delay.resize(1000.0f + 10.0f * (i % 100));
            if (i % 40 == 0) scene.delay.setSampleRate(i % 80 ? 48000.0 : 44100.0);
            scene.sweep.setRate(v * 5.0f);
            scene.sweep.setRange(440.0f, 440.0f + 2160.0f * v);
            scene.sweep.setFeedback(v);
            scene.sweep.setPanDepth(v * v);
            scene.sweep.setSmoothing(v);
            scene.sweep.setWet(v);
            scene.sweep.setDry(1.0f - v);
            if (i % 10 == 5) scene.sweep.reset();
            if (i % 30 == 0) scene.sweep.setSampleRate(i % 60 ? 48000.0 : 44100.0);
            if (i % 20 == 0)
                scene.converter.configure(44100.0, i % 40 ? 96000.0 : 22050.0, 64 + i % 500);
            if (i % 35 == 0) scene.converter.reset();
            scene.voicer.setPolyphony(1 + i % 64);
            scene.voicer.requestChannelVolumeAll(i % 128);
            if (i % 50 == 0) scene.voicer.requestKillAllVoices();
            scene.voicer.takeProgramChanged();
            scene.voicer.takeProgramChangedMask();
            scene.voicer.getChannelProgram(0);
            scene.voicer.takeControllersChanged();
            lfoStepsFromShape(kShapeRand, steps);
            buildLayerTable(kShapeRand, scene.layerTables[i % 3].data(), steps);
            changes.fetch_add(1);
            std::this_thread::yield();
        }
    });

    std::vector<float> left(1024), right(1024);
    float* out[2] = {left.data(), right.data()};
    bool finite = true;
    for (int block = 0; block < 1500 || changes.load() < 100; ++block) {
        scene.queueEvents(block);
        int32_t frames = 1 + (block * 53) % 1024;
        scene.renderBlock(out, frames, block % 3 ? 120.0 : 0.0);
        for (int32_t i = 0; i < frames; ++i)
            finite &= std::isfinite(left[i]) && std::isfinite(right[i]);
    }
    done = true;
    control.join();
    EXPECT_TRUE(finite);
    EXPECT_GE(changes.load(), 100);
}

}  // namespace
