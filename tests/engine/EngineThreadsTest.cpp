// Reconfiguring the engine from another thread while blocks render: every effect parameter
// applied, effect buffers resized and cleared, beats set, the sweep reset, rates and block sizes
// changed in the converter, polyphony, channel volume and voice kills requested, LFO tables
// rebuilt. Meant for ThreadSanitizer; natively it checks that every output stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "engine/EngineScene.h"
#include "engine/RelaxedFloat.h"

namespace {

TEST(EngineThreads, ReconfigurationWhileRendering) {
    EngineScene scene;
    std::atomic<bool> done{false};
    std::atomic<int> changes{0};

    std::thread control([&] {
        uint8_t steps[16] = {};
        for (int i = 0; !done.load(); ++i) {
            float v = static_cast<float>(i % 100) / 100.0f;
            for (int32_t index : {65, 66, 67, 68, 69, 70, 71, 91, 93}) {
                if ((index == 91 || index == 93) && i % 10 != 0) continue;
                float value = v;
                if (index == 91) value = i % 30 == 0 ? 1.0f : 0.0f;
                if (index == 93) value = i % 20 == 0 ? 1.0f : 0.0f;
                storeRelaxed(scene.fxParams[index], value);
                scene.effects.applyParameter(index, value);
            }
            if (i % 15 == 0) scene.effects.delay().setBeats(0.25 + v);
            if (i % 25 == 0) scene.effects.delay().resize(1000.0f + 10.0f * (i % 100));
            if (i % 40 == 0) scene.effects.setSampleRate(i % 80 ? 48000.0 : 44100.0);
            if (i % 45 == 0) scene.effects.resume();
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
