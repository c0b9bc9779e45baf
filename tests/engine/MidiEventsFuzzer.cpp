// Any MIDI event stream a host may send, in blocks of any size: the voice manager must never
// crash, read out of bounds or loop, and every voice list must stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/PRSVoicer.h"
#include "engine/VoicerTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TestHost host;
    host.record = false;
    for (int32_t c = 0; c < 128; ++c) host.controllerMap[c] = c % 3 == 0 ? c % 108 : -1;
    PRSVoicer voicer(&host);
    for (int i = 0; i < 8; ++i) voicer.addVoice(new TestVoice);
    voicer.setPolyphony(data && size ? data[0] % 10 : 0);

    std::vector<float> left(600), right(600);
    float* out[2] = {left.data(), right.data()};
    std::vector<HostMidiEvent> events;
    std::vector<const HostMidiEvent*> pointers;
    // Each record: type selector, delta, three MIDI bytes, detune; a block after every fourth.
    for (size_t at = 1; at + 6 <= size; at += 6) {
        HostMidiEvent e{};
        e.type = data[at] % 4 == 0 ? 6 : kHostMidiEventType;
        e.deltaFrames = static_cast<int8_t>(data[at + 1]) * 5;
        e.midiData[0] = data[at + 2];
        e.midiData[1] = data[at + 3];
        e.midiData[2] = data[at + 4];
        e.detune = static_cast<int8_t>(data[at + 5]);
        events.push_back(e);
        if (events.size() == 4 || at + 12 > size) {
            pointers.clear();
            for (const HostMidiEvent& ev : events) pointers.push_back(&ev);
            voicer.handleEvents(pointers.data(), static_cast<int32_t>(pointers.size()));
            voicer.renderReplacing(nullptr, out, data[at] % 2 ? 600 : data[at + 1] % 64);
            events.clear();
        }
    }
    int32_t linked = 0;
    for (Voice* v = voicer.activeHead(); v; v = v->next)
        if (++linked > voicer.voiceCount()) std::abort();  // a cycle in the active list
    if (linked != voicer.activeCount()) std::abort();
    return 0;
}
