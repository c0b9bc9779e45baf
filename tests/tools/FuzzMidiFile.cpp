// The MIDI file reader on arbitrary bytes: it must never read outside the input or crash, and
// what it accepts must be consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorrender::MidiSong song;
    std::string error;
    if (quorrender::parseMidiFile(data, size, &song, &error)) {
        double previous = 0.0;
        for (const quorrender::MidiMessage& m : song.messages) {
            if (m.seconds < previous || m.seconds > song.lengthSeconds) std::abort();
            if (m.bytes[0] < 0x80 || m.bytes[0] >= 0xF0 || (m.size != 2 && m.size != 3))
                std::abort();
            previous = m.seconds;
        }
        if (song.tempos.empty() || !(song.tempoAt(previous) > 0.0)) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
