// The MIDI file reader: tempo map, running status, both formats, time bases, and refusal of
// every kind of broken file.
#include <gtest/gtest.h>

#include "MidiBytes.h"
#include "MidiFile.h"

using namespace quorrender;
using namespace midibytes;

namespace {

struct Message {
    double seconds;
    int status, data1;
};

struct Song {
    const char* name;
    Bytes file;
    std::vector<Message> messages;
    double length;
    std::vector<std::pair<double, double>> tempoAt;  // seconds, bpm
};

}  // namespace

TEST(MidiFile, SongsReadWithTheirTimesAndTempoMaps) {
    const Song songs[] = {
        // At 96 ticks per quarter: 60 bpm; a note at 0 and one in running status at 1 s; 120 bpm
        // from 1 s on; a note off at 1.5 s; after a two-byte delta of 192 ticks (2.5 s) a program
        // change and channel pressure, which have one data byte.
        {"format 0",
         midiFile(0, 1, 96,
                  {track({0,  0xFF, 0x51, 3,    0x0F, 0x42, 0x40, 0,    0x90, 60,   100,  96,
                          64, 90,   0,    0xFF, 0x51, 3,    0x07, 0xA1, 0x20, 96,   0x80, 60,
                          0,  0x81, 0x40, 0xC0, 5,    0,    0xD0, 33,   0,    0xFF, 0x2F, 0})}),
         {{0.0, 0x90, 60}, {1.0, 0x90, 64}, {1.5, 0x80, 60}, {2.5, 0xC0, 5}, {2.5, 0xD0, 33}},
         2.5,
         {{0.5, 60.0}, {1.0, 120.0}, {9.0, 120.0}}},
        // 480 ticks at 120 bpm = 0.5 s, the next 480 at 240 bpm = 0.25 s; equal times keep
        // track order; a chunk of another kind between the tracks is skipped.
        {"format 1 merged with the first track's tempo map",
         midiFile(1, 3, 480,
                  {track({0x83, 0x60, 0xFF, 0x51, 3, 0x03, 0xD0, 0x90, 0, 0xFF, 0x2F, 0}),
                   track({0x87, 0x40, 0x90, 60, 100, 0, 0xFF, 0x2F, 0}),
                   {"XYZW", bytes({1, 2})},
                   track({0x83, 0x60, 0x91, 62, 100, 0x83, 0x60, 0x81, 62, 0, 0, 0xFF, 0x2F, 0})}),
         {{0.5, 0x91, 62}, {0.75, 0x90, 60}, {0.75, 0x81, 62}},
         0.75,
         {{0.1, 120.0}, {0.6, 240.0}}},
        {"SMPTE time base (25 frames of 40 ticks), system exclusive skipped",
         midiFile(0, 1, 0xE728,
                  {track({0, 0xF0, 3, 1, 2, 0xF7, 0x87, 0x68, 0x90, 60, 1, 0, 0xFF, 0x2F, 0})}),
         {{1.0, 0x90, 60}},
         1.0,
         {{0.5, 120.0}}},
    };
    for (const Song& s : songs) {
        MidiSong song;
        std::string error;
        ASSERT_TRUE(parseMidiFile(s.file.data(), s.file.size(), &song, &error)) << s.name << error;
        ASSERT_EQ(song.messages.size(), s.messages.size()) << s.name;
        for (std::size_t i = 0; i < s.messages.size(); ++i) {
            const MidiMessage& m = song.messages[i];
            EXPECT_DOUBLE_EQ(m.seconds, s.messages[i].seconds) << s.name << " " << i;
            EXPECT_EQ(m.bytes[0], s.messages[i].status) << s.name << " " << i;
            EXPECT_EQ(m.bytes[1], s.messages[i].data1) << s.name << " " << i;
            EXPECT_EQ(m.size, (m.bytes[0] & 0xE0) == 0xC0 ? 2 : 3) << s.name << " " << i;
        }
        EXPECT_DOUBLE_EQ(song.lengthSeconds, s.length) << s.name;
        for (const auto& [at, bpm] : s.tempoAt) EXPECT_DOUBLE_EQ(song.tempoAt(at), bpm) << s.name;
    }
}

TEST(MidiFile, BrokenFilesAreRefusedWithAReason) {
    const Chunk end = track({0, 0xFF, 0x2F, 0});
    Bytes overlong = midiFile(0, 1, 96, {});
    for (std::uint8_t b : bytes({'M', 'T', 'r', 'k', 0, 0, 1, 0, 0})) overlong.push_back(b);
    const struct {
        const char* name;
        Bytes file;
        const char* reason;
    } broken[] = {
        {"not MIDI", bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0}), "not a Standard MIDI File"},
        {"format 2", midiFile(2, 1, 96, {end}), "format 2"},
        {"missing track", midiFile(0, 1, 96, {}), "ends before track 1"},
        {"division 0", midiFile(0, 1, 0, {end}), "division"},
        {"data byte without status", midiFile(0, 1, 96, {track({0, 60, 100})}), "without status"},
        {"message cut short", midiFile(0, 1, 96, {track({0, 0x90, 60})}), "cut short"},
        {"five-byte delta",
         midiFile(0, 1, 96, {track({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1})}), "cut short"},
        {"data byte with the high bit", midiFile(0, 1, 96, {track({0, 0x90, 60, 0x80})}),
         "out of range"},
        {"chunk longer than the file", overlong, "longer than the file"},
        {"meta event longer than the track", midiFile(0, 1, 96, {track({0, 0xFF, 0x51, 10, 1})}),
         "cut short"},
        {"tempo 0", midiFile(0, 1, 96, {track({0, 0xFF, 0x51, 3, 0, 0, 0})}), "tempo of zero"},
    };
    for (const auto& b : broken) {
        MidiSong song;
        std::string error;
        EXPECT_FALSE(parseMidiFile(b.file.data(), b.file.size(), &song, &error)) << b.name;
        EXPECT_NE(error.find(b.reason), std::string::npos) << b.name << ": " << error;
    }
}
