// Standard MIDI File images built byte by byte, for the reader's and the renderer's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace midibytes {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

struct Chunk {
    const char* tag;
    Bytes body;
};

inline Chunk track(std::initializer_list<int> body) {
    return {"MTrk", bytes(body)};
}

// The header (a six-byte body) and the chunks in order.
inline Bytes midiFile(int format, int tracks, int division, std::initializer_list<Chunk> chunks) {
    Bytes file = bytes(
        {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, division >> 8, division & 0xFF});
    for (const Chunk& c : chunks) {
        file.insert(file.end(), c.tag, c.tag + 4);
        for (int shift = 24; shift >= 0; shift -= 8) file.push_back(c.body.size() >> shift & 0xFF);
        file.insert(file.end(), c.body.begin(), c.body.end());
    }
    return file;
}

}  // namespace midibytes
