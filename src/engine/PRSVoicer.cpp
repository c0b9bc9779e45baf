#include "engine/PRSVoicer.h"

#include "engine/VoicerHost.h"

const ModWheelDestination kModWheelDestinations[kModWheelDestinationCount] = {
    {"", {}, 0},
    {"LFO Speed Base", {32}, 1},
    {"LFO Speed Top", {37}, 1},
    {"LFO Speed Filter", {42}, 1},
    {"LFO Speed All", {32, 37, 42}, 3},
    {"LFO Amount Base", {34}, 1},
    {"LFO Amount Top", {39}, 1},
    {"LFO Amount Filter", {44}, 1},
    {"LFO Amount All", {34, 39, 44}, 3},
    {"ADSR Attack Base", {8, 76}, 2},
    {"ADSR Attack Top", {12, 79}, 2},
    {"ADSR Attack Filter", {16, 82}, 2},
    {"ADSR Attack All", {8, 76, 12, 79, 16, 82}, 6},
    {"ADSR Start Offset", {87, 88}, 2},
    {"Pitch LFO Speed", {47}, 1},
    {"Pitch LFO Amount", {49}, 1},
    {"FX Delay Feedback", {67}, 1},
    {"FX Mix", {71}, 1},
};

bool PRSVoicer::applyParameter(int32_t index, float value) {
    if (index == kMasterVolumeParam) {
        requestChannelVolumeAll(static_cast<int16_t>(value * 127.0f));
        return true;
    }
    if (index == kVoicesParam) {
        setPolyphony(static_cast<int32_t>(value * 63.0f + 0.5f) + 1);
        return true;
    }
    return false;
}

void PRSVoicer::noteOff(int16_t channel, int16_t note, int32_t delta, bool) {
    host()->showKeyUp(channel, note);
    Voicer::noteOff(channel, note, delta, true);
}

void PRSVoicer::allNotesOff() {
    Voicer::allNotesOff();
    host()->showAllKeysUp();
}

void PRSVoicer::programChange(int32_t, int32_t program) {
    if (program == getChannelProgram(0)) return;
    Voicer::programChange(0, program);
    programChanged_.store(true, std::memory_order_release);
    host()->midiProgramChanged();
}

void PRSVoicer::controlChange(int32_t channel, int32_t controller, int16_t value, int32_t delta) {
    if (controller >= 0 && controller <= 127) {
        float v = static_cast<float>(value & 127) * 0.007874016f;
        int32_t parameter = host()->controllerParameter(controller);
        if (controller == 1) {
            float selector = host()->parameterValue(kModWheelParam) * 17.0f + 0.5f;
            int32_t d = selector > 0.0f && selector < kModWheelDestinationCount
                            ? static_cast<int32_t>(selector)
                            : 0;
            const ModWheelDestination& dest = kModWheelDestinations[d];
            for (int32_t i = 0; i < dest.count; ++i)
                host()->setParameterFromController(dest.parameters[i], v);
            if (dest.count > 0) parameter = -1;
        }
        if (parameter >= 0) host()->setParameterFromController(parameter, v);
    }
    Voicer::controlChange(channel, controller, value, delta);
}
