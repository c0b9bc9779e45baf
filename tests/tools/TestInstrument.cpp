// A tiny VST 2.4 instrument for the renderer's tests. Its output tells what it was given:
//   left:  0.5 while any note is held (from the exact frame of the note-on), then a release
//          tail that falls by 0.1 % per frame, 0 before the first note;
//   right: while the left channel is above 1e-5, the host's tempo / 1000, plus 0.01 x host
//          program, plus 0.0001 x the last MIDI program change; 0 otherwise.
// With host program 4 the left channel goes on through the engine's delay unit at its longest,
// tempo-synchronised delay without feedback: each note comes back one and two delays later.
#include <cstring>

#include "engine/DelayUnit.h"
#include "sdk/VstAbi.h"

namespace {

struct Instrument {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    int program = 0;
    int midiProgram = 0;
    int held = 0;
    float level = 0.0f;
    VstMidiEvent events[256];
    int eventCount = 0;
    DelayUnit delay;
};

constexpr int kEchoProgram = 3;

Instrument* self(AEffect* e) {
    return static_cast<Instrument*>(e->object);
}

void apply(Instrument* s, const VstMidiEvent& m) {
    const int status = m.midiData[0] & 0xF0;
    const int data1 = m.midiData[1] & 0x7F, data2 = m.midiData[2] & 0x7F;
    if (status == 0x90 && data2 > 0) {
        ++s->held;
        s->level = 0.5f;
    } else if (status == 0x80 || status == 0x90) {
        if (s->held > 0) --s->held;
    } else if (status == 0xB0 && data1 == 123) {
        s->held = 0;
    } else if (status == 0xC0) {
        s->midiProgram = data1;
    }
}

void processReplacing(AEffect* e, float** /*inputs*/, float** outputs, std::int32_t frames) {
    Instrument* s = self(e);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        s->host(e, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f));
    const double tempo = time && (time->flags & kVstTempoValid) ? time->tempo : 0.0;
    const float right =
        static_cast<float>(tempo / 1000.0 + 0.01 * s->program + 0.0001 * s->midiProgram);
    int next = 0;
    for (int i = 0; i < frames; ++i) {
        for (; next < s->eventCount && s->events[next].deltaFrames <= i; ++next)
            apply(s, s->events[next]);
        if (s->held == 0) s->level *= 0.999f;
        outputs[0][i] = s->level;
        outputs[1][i] = s->level > 1e-5f ? right : 0.0f;
    }
    if (s->program == kEchoProgram) {
        float* const in[2] = {outputs[0], outputs[0]};
        float* const out[2] = {outputs[0], outputs[0]};
        s->delay.process(in, out, frames, tempo);
    }
    for (; next < s->eventCount; ++next) apply(s, s->events[next]);
    s->eventCount = 0;
}

std::intptr_t dispatcher(AEffect* e, std::int32_t opcode, std::int32_t /*index*/,
                         std::intptr_t value, void* ptr, float /*opt*/) {
    Instrument* s = self(e);
    switch (opcode) {
        case effClose:
            delete s;
            return 1;
        case effSetProgram:
            if (value >= 0 && value < e->numPrograms) s->program = static_cast<int>(value);
            return 0;
        case effGetProgram:
            return s->program;
        case effGetProgramName:
            std::strcpy(static_cast<char*>(ptr), "Test");
            return 0;
        case effProcessEvents: {
            const auto* list = static_cast<const VstEvents*>(ptr);
            for (int i = 0; i < list->numEvents && s->eventCount < 256; ++i) {
                if (list->events[i]->type == kVstMidiType) {
                    std::memcpy(&s->events[s->eventCount++], list->events[i], sizeof(VstMidiEvent));
                }
            }
            // Events that arrive between blocks take effect at the start of the next one.
            return 1;
        }
        case effGetPlugCategory:
            return kPlugCategSynth;
        default:
            return 0;
    }
}

void setParameter(AEffect*, std::int32_t, float) {}
float getParameter(AEffect*, std::int32_t) {
    return 0.0f;
}

}  // namespace

extern "C" AEffect* VSTPluginMain(audioMasterCallback host) {
    auto* s = new Instrument;
    s->host = host;
    s->delay.setDelay(1.0f);
    s->delay.setWet(0.5f);
    s->delay.setDry(1.0f);
    AEffect& e = s->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.processReplacing = processReplacing;
    e.numPrograms = 4;
    e.numOutputs = 2;
    e.flags = effFlagsIsSynth | effFlagsCanReplacing;
    e.object = s;
    e.uniqueID = vstFourCC("QtIn");
    return &e;
}
