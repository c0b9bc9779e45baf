// Standard MIDI File reader (formats 0 and 1): the channel messages of every track merged into
// one list in time order, with their times in seconds from the file's tempo map (or its SMPTE
// time base), and the tempo map itself so a host can report the tempo at any moment.
// System-exclusive and meta events other than the tempo are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorrender {

struct MidiMessage {
    double seconds = 0.0;
    std::uint8_t bytes[3] = {0, 0, 0};
    int size = 0;  // 2 or 3
};

struct TempoPoint {
    double seconds = 0.0;
    double bpm = 120.0;
};

struct MidiSong {
    int format = 0;
    int tracks = 0;
    std::vector<MidiMessage> messages;  // in time order; equal times keep track and file order
    std::vector<TempoPoint> tempos;     // starts with the tempo at time 0 (120 when none is set)
    double lengthSeconds = 0.0;         // the latest event of any track, end-of-track included

    double tempoAt(double seconds) const;
};

// Parses a whole file image. False with a one-line reason in *error on anything malformed.
bool parseMidiFile(const std::uint8_t* data, std::size_t size, MidiSong* song, std::string* error);
bool loadMidiFile(const std::string& path, MidiSong* song, std::string* error);

}  // namespace quorrender
