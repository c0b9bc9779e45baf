// A small engine set-up for the real-time tests: a voice manager with 64 recording voices,
// the effects section, the rate converter and the layer LFO tables, driven block by block the way
// the plug-in's audio callback drives them.
#pragma once

#include <vector>

#include "engine/EffectsSection.h"
#include "engine/LayerLfo.h"
#include "engine/LfoShapes.h"
#include "engine/PRSVoicer.h"
#include "engine/PRateConverter.h"
#include "engine/VoiceTables.h"
#include "engine/VoicerTestSupport.h"

struct EngineScene {
    EngineScene() {
        host.record = false;
        for (int i = 0; i < 64; ++i) voicer.addVoice(new TestVoice);
        voicer.setPolyphony(16);
        converter.configure(44100.0, 96000.0, 512);
        buildVoiceTables(tables);
        for (auto& t : layerTables) t.assign(kLayerTableSize, 0.0f);
        for (int k = 0; k < 3; ++k) {
            buildShapeTable(kShapeSine, layerTables[k].data());
            tablePointers[k] = layerTables[k].data();
        }
        lfoContext.params = host.params;
        lfoContext.decayTable = tables.decay;
        lfoContext.layerTables = tablePointers;
        for (int p = 32; p < 52; ++p) host.params[p] = 0.6f;
        host.controllerMap[20] = 34;
        events.reserve(16);
        eventPointers.reserve(16);
    }

    // One block's MIDI: a note, a chord, controllers and now and then a program change.
    void queueEvents(int block) {
        events.clear();
        auto add = [&](int status, int d1, int d2, int delta) {
            events.push_back(midiEvent(status, d1, d2, delta));
        };
        int note = 36 + block % 48;
        add(0x90, note, 100, block % 200);
        add(0x90, note + 4, 90, 3);
        add(0x90, note + 7, 80, 7);
        add(0x80, note - 5, 0, 100);
        add(0xB0, 1, block % 128, 0);
        add(0xB0, 20, (block * 7) % 128, 0);
        add(0xB0, 64, block % 3 == 0 ? 127 : 0, 20);
        add(0xE0, block % 128, 64, 0);
        if (block % 50 == 0) add(0xC0, block % 64, 0, 0);
        if (block % 97 == 0) add(0xB0, 123, 0, 0);
        if (block % 61 == 0) add(0xB0, 121, 0, 0);
        eventPointers.clear();
        for (const HostMidiEvent& e : events) eventPointers.push_back(&e);
    }

    // Renders one host block the way the audio callback does, the events' host frames turned
    // into engine frames.
    void renderBlock(float* const out[2], int32_t frames, double tempo) {
        for (HostMidiEvent& e : events) e.deltaFrames = converter.engineFrameAt(e.deltaFrames);
        voicer.handleEvents(eventPointers.data(), static_cast<int32_t>(eventPointers.size()));
        converter.process(out, frames, [&](float* const buffers[2], int32_t n) {
            voicer.renderReplacing(nullptr, const_cast<float**>(buffers), n);
            effects.process(buffers, n, tempo);
        });
        lfoValue(lfoContext, lfoState, 0, 1.0f);
        lfoValue(lfoContext, lfoState, 3, 1.0f);
        lfoState.advanceDelay(frames);
    }

    TestHost host;
    PRSVoicer voicer{&host};
    float fxParams[108] = {};  // written with storeRelaxed while blocks render
    EffectsSection effects{fxParams};
    PRateConverter converter;
    VoiceTables tables;
    std::vector<float> layerTables[3];
    const float* tablePointers[3];
    LayerLfoContext lfoContext;
    LayerLfoState lfoState;
    std::vector<HostMidiEvent> events;
    std::vector<const HostMidiEvent*> eventPointers;
};
