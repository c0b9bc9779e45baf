// A recording voice and host for the voice-manager tests. The test voice adds 1 per rendered
// frame while held and 2 once released, so an output buffer shows exactly which frames it played
// in which phase.
#pragma once

#include <vector>

#include "engine/HostMidiEvent.h"
#include "engine/Voice.h"
#include "engine/VoicerHost.h"

class TestVoice : public Voice {
public:
    void render(float**, float** outputs, int32_t frames) override {
        float mark = releasedByManager ? 2.0f : 1.0f;
        for (int32_t i = 0; i < frames; ++i) outputs[0][i] += mark;
    }
    void start(int32_t n, double) override {
        ++starts;
        releasedByManager = false;
        stolenByManager = false;
        if (n == failNote) state = VoiceState::Finished;
    }
    bool startRelease(double) override {
        releasedByManager = true;
        return acceptRelease;
    }
    bool steal() override {
        stolenByManager = true;
        return true;
    }
    void stopVoice() override { ++stops; }
    void setPitchBend(double v) override { lastBend = v; }
    void controller(int32_t number, int32_t value) override {
        lastController = number;
        lastControllerValue = value;
    }

    int starts = 0;
    int stops = 0;
    bool releasedByManager = false;
    bool stolenByManager = false;
    bool acceptRelease = true;
    int32_t failNote = -1;
    double lastBend = 99;
    int32_t lastController = -1;
    int32_t lastControllerValue = -1;
};

class TestHost : public VoicerHost {
public:
    TestHost() {
        for (int32_t& c : controllerMap) c = -1;
    }
    float parameterValue(int32_t index) const override { return params[index]; }
    void setParameterFromController(int32_t index, float value) override {
        params[index] = value;
        if (record) setCalls.push_back(index);
    }
    int32_t controllerParameter(int32_t controller) const override {
        return controllerMap[controller];
    }
    int32_t outputChannelCount() const override { return 2; }
    void showKeyDown(int32_t, int32_t, int32_t) override {}
    void showKeyUp(int32_t, int32_t) override {}
    void showAllKeysUp() override { ++allKeysUp; }
    void midiProgramChanged() override { ++programNotices; }

    bool record = true;  // off where the host is called on a real-time path
    float params[108] = {};
    int32_t controllerMap[128];
    std::vector<int32_t> setCalls;
    int allKeysUp = 0;
    int programNotices = 0;
};

// A MIDI record as the host hands it over.
inline HostMidiEvent midiEvent(int status, int data1, int data2, int32_t delta = 0) {
    HostMidiEvent e{};
    e.type = kHostMidiEventType;
    e.deltaFrames = delta;
    e.midiData[0] = static_cast<uint8_t>(status);
    e.midiData[1] = static_cast<uint8_t>(data1);
    e.midiData[2] = static_cast<uint8_t>(data2);
    return e;
}
