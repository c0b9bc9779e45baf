// The MIDI file reader: tempo map, running status, both formats, time bases, and refusal of
// every kind of broken file.
#include <gtest/gtest.h>

#include <initializer_list>

#include "MidiFile.h"

using namespace quorrender;

namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
}

Bytes header(int format, int tracks, int division) {
    Bytes b;
    append(b,
           {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, division >> 8, division & 0xFF});
    return b;
}

void addTrack(Bytes& file, const Bytes& body) {
    append(file, {'M', 'T', 'r', 'k'});
    const std::size_t n = body.size();
    append(file, {int(n >> 24 & 0xFF), int(n >> 16 & 0xFF), int(n >> 8 & 0xFF), int(n & 0xFF)});
    file.insert(file.end(), body.begin(), body.end());
}

bool parse(const Bytes& b, MidiSong* song, std::string* error) {
    return parseMidiFile(b.data(), b.size(), song, error);
}

const Bytes kEnd = {0, 0xFF, 0x2F, 0};

}  // namespace

TEST(MidiFile, FormatZeroWithRunningStatusAndTempoChange) {
    Bytes file = header(0, 1, 96);
    Bytes t;
    append(t, {0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40});  // 1,000,000 us per quarter: 60 bpm
    append(t, {0, 0x90, 60, 100});                    // note on at 0
    append(t, {96, 64, 90});                          // running status: note on at 1 s
    append(t, {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20});  // 500,000 us: 120 bpm from 1 s on
    append(t, {96, 0x80, 60, 0});                     // note off at 1.5 s
    append(t, {0x81, 0x40, 0xC0, 5});                 // delta 192 (two-byte length): program
    append(t, {0, 0xD0, 33});                         // channel pressure: one data byte
    append(t, {0, 0xFF, 0x2F, 0});
    addTrack(file, t);
    MidiSong song;
    std::string error;
    ASSERT_TRUE(parse(file, &song, &error)) << error;
    ASSERT_EQ(song.messages.size(), 5u);
    EXPECT_DOUBLE_EQ(song.messages[0].seconds, 0.0);
    EXPECT_DOUBLE_EQ(song.messages[1].seconds, 1.0);
    EXPECT_EQ(song.messages[1].bytes[0], 0x90);
    EXPECT_EQ(song.messages[1].bytes[1], 64);
    EXPECT_DOUBLE_EQ(song.messages[2].seconds, 1.5);
    EXPECT_DOUBLE_EQ(song.messages[3].seconds, 2.5);
    EXPECT_EQ(song.messages[3].size, 2);
    EXPECT_EQ(song.messages[4].size, 2);
    EXPECT_EQ(song.messages[4].bytes[1], 33);
    EXPECT_DOUBLE_EQ(song.lengthSeconds, 2.5);
    EXPECT_DOUBLE_EQ(song.tempoAt(0.5), 60.0);
    EXPECT_DOUBLE_EQ(song.tempoAt(1.0), 120.0);
    EXPECT_DOUBLE_EQ(song.tempoAt(9.0), 120.0);
}

TEST(MidiFile, FormatOneMergesTracksWithTheTempoMapOfTrackOne) {
    Bytes file = header(1, 3, 480);
    Bytes tempo;
    append(tempo, {0x83, 0x60, 0xFF, 0x51, 3, 0x03, 0xD0, 0x90});  // at 480: 250,000 us (240 bpm)
    append(tempo, {0, 0xFF, 0x2F, 0});
    addTrack(file, tempo);
    Bytes a, b;
    append(a, {0x87, 0x40, 0x90, 60, 100, 0, 0xFF, 0x2F, 0});  // at 960 ticks
    append(b, {0x83, 0x60, 0x91, 62, 100, 0x83, 0x60, 0x81, 62, 0, 0, 0xFF, 0x2F, 0});
    addTrack(file, a);
    append(file, {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2});  // an unknown chunk is skipped
    addTrack(file, b);
    MidiSong song;
    std::string error;
    ASSERT_TRUE(parse(file, &song, &error)) << error;
    EXPECT_EQ(song.format, 1);
    ASSERT_EQ(song.messages.size(), 3u);
    // 480 ticks at 120 bpm = 0.5 s, the next 480 at 240 bpm = 0.25 s.
    EXPECT_DOUBLE_EQ(song.messages[0].seconds, 0.5);
    EXPECT_EQ(song.messages[0].bytes[0], 0x91);
    EXPECT_DOUBLE_EQ(song.messages[1].seconds, 0.75);  // equal times: track order
    EXPECT_EQ(song.messages[1].bytes[0], 0x90);
    EXPECT_EQ(song.messages[2].bytes[0], 0x81);
    EXPECT_DOUBLE_EQ(song.tempoAt(0.6), 240.0);
    EXPECT_DOUBLE_EQ(song.tempoAt(0.1), 120.0);
}

TEST(MidiFile, SmpteTimeBaseAndSkippedSystemExclusive) {
    Bytes file = header(0, 1, 0xE728);  // -25 frames per second, 40 ticks per frame
    Bytes t;
    append(t, {0, 0xF0, 3, 1, 2, 0xF7});   // system exclusive, skipped
    append(t, {0x87, 0x68, 0x90, 60, 1});  // 1000 ticks = 1 s
    append(t, {0, 0xFF, 0x2F, 0});
    addTrack(file, t);
    MidiSong song;
    std::string error;
    ASSERT_TRUE(parse(file, &song, &error)) << error;
    ASSERT_EQ(song.messages.size(), 1u);
    EXPECT_DOUBLE_EQ(song.messages[0].seconds, 1.0);
}

TEST(MidiFile, BrokenFilesAreRefusedWithAReason) {
    auto refused = [](const Bytes& file, const char* what) {
        MidiSong song;
        std::string error;
        EXPECT_FALSE(parse(file, &song, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        return error;
    };
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0};
    EXPECT_NE(refused(riff, "not midi").find("not a Standard MIDI File"), std::string::npos);
    Bytes format2 = header(2, 1, 96);
    addTrack(format2, kEnd);
    EXPECT_NE(refused(format2, "format 2").find("format 2"), std::string::npos);
    refused(header(0, 1, 96), "missing track");
    Bytes zeroDivision = header(0, 1, 0);
    addTrack(zeroDivision, kEnd);
    refused(zeroDivision, "division 0");
    Bytes noStatus = header(0, 1, 96);
    addTrack(noStatus, {0, 60, 100});
    refused(noStatus, "data byte without status");
    Bytes cut = header(0, 1, 96);
    addTrack(cut, {0, 0x90, 60});
    refused(cut, "message cut short");
    Bytes longVar = header(0, 1, 96);
    addTrack(longVar, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1});
    refused(longVar, "five-byte delta");
    Bytes badData = header(0, 1, 96);
    addTrack(badData, {0, 0x90, 60, 0x80});
    refused(badData, "data byte with the high bit");
    Bytes overlong = header(0, 1, 96);
    append(overlong, {'M', 'T', 'r', 'k', 0, 0, 1, 0, 0});
    refused(overlong, "chunk longer than file");
    Bytes badMeta = header(0, 1, 96);
    addTrack(badMeta, {0, 0xFF, 0x51, 10, 1});
    refused(badMeta, "meta longer than track");
    Bytes zeroTempo = header(0, 1, 96);
    addTrack(zeroTempo, {0, 0xFF, 0x51, 3, 0, 0, 0});
    refused(zeroTempo, "tempo 0");
}

TEST(MidiFile, MissingFileIsReported) {
    MidiSong song;
    std::string error;
    EXPECT_FALSE(loadMidiFile("/nonexistent/quor/song.mid", &song, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
