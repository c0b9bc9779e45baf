// The host's 32-byte event record, as the voice manager reads it. The plug-in hands over the
// host's array of event pointers unchanged; only records of type 1 (MIDI) are read, and of them
// only the type, the frame offset, the three MIDI bytes and the detune.
#pragma once

#include <cstdint>

struct HostMidiEvent {
    int32_t type;  // 1 = MIDI; every other type is skipped
    int32_t byteSize;
    int32_t deltaFrames;  // frame offset into the current block
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    uint8_t midiData[4];  // bytes 0..2 used
    int8_t detune;        // cents, -64..63
    int8_t noteOffVelocity;
    int8_t reserved1;
    int8_t reserved2;
};
static_assert(sizeof(HostMidiEvent) == 32, "the host's MIDI event record is 32 bytes");

inline constexpr int32_t kHostMidiEventType = 1;
