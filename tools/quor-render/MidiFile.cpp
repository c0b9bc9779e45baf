#include "MidiFile.h"

#include <algorithm>
#include <cstdio>

namespace quorrender {
namespace {

constexpr double kDefaultMicrosPerQuarter = 500000.0;

// A bounds-checked cursor over the file image.
struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    bool has(std::size_t n) const { return n <= size - at; }
    bool byte(std::uint8_t* out) {
        if (!has(1)) return false;
        *out = data[at++];
        return true;
    }
    bool big(int bytes, std::uint32_t* out) {
        if (!has(bytes)) return false;
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | data[at++];
        *out = v;
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each.
    bool varLength(std::uint32_t* out) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b;
            if (!byte(&b)) return false;
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) {
                *out = v;
                return true;
            }
        }
        return false;
    }
    bool skip(std::size_t n) {
        if (!has(n)) return false;
        at += n;
        return true;
    }
};

struct TickEvent {
    std::uint64_t tick;
    int track;
    std::size_t order;
    MidiMessage message;
};

struct TempoTick {
    std::uint64_t tick;
    double microsPerQuarter;
};

bool fail(std::string* error, const std::string& text) {
    *error = text;
    return false;
}

std::string trackText(int track) {
    return "track " + std::to_string(track + 1) + ": ";
}

bool readTrack(Reader r, int track, std::vector<TickEvent>* events, std::vector<TempoTick>* tempos,
               std::uint64_t* endTick, std::string* error) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (r.at < r.size) {
        std::uint32_t delta;
        std::uint8_t status;
        if (!r.varLength(&delta) || !r.byte(&status))
            return fail(error, trackText(track) + "event cut short");
        tick += delta;
        *endTick = std::max(*endTick, tick);
        if (status == 0xFF) {
            std::uint8_t type;
            std::uint32_t length;
            if (!r.byte(&type) || !r.varLength(&length) || !r.has(length))
                return fail(error, trackText(track) + "meta event cut short");
            running = 0;
            if (type == 0x2F) return true;  // end of track
            if (type == 0x51 && length >= 3) {
                std::uint32_t micros = 0;
                r.big(3, &micros);
                if (micros == 0) return fail(error, trackText(track) + "tempo of zero");
                tempos->push_back({tick, static_cast<double>(micros)});
                r.skip(length - 3);
            } else {
                r.skip(length);
            }
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length;
            if (!r.varLength(&length) || !r.skip(length))
                return fail(error, trackText(track) + "system-exclusive event cut short");
            running = 0;
            continue;
        }
        MidiMessage m;
        std::uint8_t first;
        if (status >= 0xF0) return fail(error, trackText(track) + "invalid status byte");
        if (status >= 0x80) {
            running = status;
            if (!r.byte(&first)) return fail(error, trackText(track) + "message cut short");
        } else {
            if (running == 0) return fail(error, trackText(track) + "data byte without status");
            first = status;
            status = running;
        }
        m.bytes[0] = status;
        m.bytes[1] = first;
        m.size = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
        if (m.size == 3 && !r.byte(&m.bytes[2]))
            return fail(error, trackText(track) + "message cut short");
        if (m.bytes[1] >= 0x80 || m.bytes[2] >= 0x80)
            return fail(error, trackText(track) + "data byte out of range");
        events->push_back({tick, track, events->size(), m});
    }
    // A track without its end-of-track event: keep what it held.
    return true;
}

// Converts ticks to seconds through the tempo map (or a fixed SMPTE rate).
class Clock {
public:
    Clock(std::uint16_t division, std::vector<TempoTick> tempos) {
        if (division & 0x8000) {
            const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
            const double fps = framesPerSecond == 29 ? 29.97 : framesPerSecond;
            smpteSecondsPerTick_ = 1.0 / (fps * (division & 0xFF));
            return;
        }
        division_ = division;
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const TempoTick& a, const TempoTick& b) { return a.tick < b.tick; });
        // Each segment starts at a tempo change; its start time is summed once here.
        segments_.push_back({0, 0.0, kDefaultMicrosPerQuarter / (1e6 * division)});
        for (const TempoTick& t : tempos) {
            const Segment& last = segments_.back();
            const double start = last.seconds + (t.tick - last.tick) * last.secondsPerTick;
            const Segment next{t.tick, start, t.microsPerQuarter / (1e6 * division)};
            if (t.tick == last.tick)
                segments_.back() = next;
            else
                segments_.push_back(next);
        }
    }
    double seconds(std::uint64_t tick) const {
        if (smpteSecondsPerTick_ > 0.0) return tick * smpteSecondsPerTick_;
        const auto after =
            std::upper_bound(segments_.begin(), segments_.end(), tick,
                             [](std::uint64_t t, const Segment& s) { return t < s.tick; });
        const Segment& s = *(after - 1);
        return s.seconds + (tick - s.tick) * s.secondsPerTick;
    }
    // The tempo map as seconds and beats per minute (120 throughout for an SMPTE time base).
    std::vector<TempoPoint> tempoMap() const {
        std::vector<TempoPoint> map;
        for (const Segment& s : segments_) {
            map.push_back({s.seconds, 60.0 / (s.secondsPerTick * division_)});
        }
        if (map.empty()) map.push_back({0.0, 120.0});
        return map;
    }

private:
    struct Segment {
        std::uint64_t tick;
        double seconds;
        double secondsPerTick;
    };
    std::vector<Segment> segments_;
    double division_ = 0.0;
    double smpteSecondsPerTick_ = 0.0;
};

}  // namespace

double MidiSong::tempoAt(double seconds) const {
    double bpm = tempos.empty() ? 120.0 : tempos.front().bpm;
    for (const TempoPoint& t : tempos) {
        if (t.seconds > seconds) break;
        bpm = t.bpm;
    }
    return bpm;
}

bool parseMidiFile(const std::uint8_t* data, std::size_t size, MidiSong* song, std::string* error) {
    *song = MidiSong{};
    Reader r{data, size};
    std::uint32_t tag, headerLength, format, trackCount, division;
    if (!r.big(4, &tag) || tag != 0x4D546864)  // "MThd"
        return fail(error, "not a Standard MIDI File (no MThd header)");
    if (!r.big(4, &headerLength) || headerLength < 6 || !r.big(2, &format) ||
        !r.big(2, &trackCount) || !r.big(2, &division) || !r.skip(headerLength - 6))
        return fail(error, "MIDI header cut short");
    if (format > 1)
        return fail(error, "MIDI format " + std::to_string(format) + " is not supported");
    if (trackCount == 0) return fail(error, "MIDI file without tracks");
    if (division == 0 || ((division & 0x8000) && (division & 0xFF) == 0))
        return fail(error, "MIDI time division of zero");

    std::vector<TickEvent> events;
    std::vector<TempoTick> tempos;
    std::uint64_t endTick = 0;
    int track = 0;
    while (track < static_cast<int>(trackCount)) {
        std::uint32_t chunkTag, length;
        if (!r.big(4, &chunkTag) || !r.big(4, &length))
            return fail(error, "MIDI file ends before track " + std::to_string(track + 1));
        if (!r.has(length)) return fail(error, trackText(track) + "chunk longer than the file");
        if (chunkTag == 0x4D54726B) {  // "MTrk"
            if (!readTrack(Reader{data + r.at, length}, track, &events, &tempos, &endTick, error))
                return false;
            ++track;
        }
        r.skip(length);  // unknown chunks are skipped
    }

    const Clock clock(static_cast<std::uint16_t>(division), std::move(tempos));
    std::stable_sort(events.begin(), events.end(), [](const TickEvent& a, const TickEvent& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        return a.track != b.track ? a.track < b.track : a.order < b.order;
    });
    song->format = static_cast<int>(format);
    song->tracks = static_cast<int>(trackCount);
    for (TickEvent& e : events) {
        e.message.seconds = clock.seconds(e.tick);
        song->messages.push_back(e.message);
    }
    song->tempos = clock.tempoMap();
    song->lengthSeconds = clock.seconds(endTick);
    return true;
}

bool loadMidiFile(const std::string& path, MidiSong* song, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return fail(error, "cannot open MIDI file '" + path + "'");
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return fail(error, "cannot read MIDI file '" + path + "'");
    if (!parseMidiFile(bytes.data(), bytes.size(), song, error)) {
        *error = "'" + path + "': " + *error;
        return false;
    }
    return true;
}

}  // namespace quorrender
