// The recordings a SoundFont preset plays, one per key range, with everything that decides how
// a recording sounds resolved: the preset's and the instrument's global and local generators,
// key and velocity ranges, root key, tuning and address offsets.
#pragma once

#include <vector>

#include "SoundFont.h"

namespace makelib {

struct RecordedZone {
    int keyLow = 0, keyHigh = 127;
    int sample = -1;   // index into the sample headers
    int partner = -1;  // the right channel of a stereo pair, when it has the same layout
    // Frames in the sample data: the recording is [start, end), its sustain loop
    // [loopStart, loopEnd) when `looped`.
    std::uint32_t start = 0, end = 0, loopStart = 0, loopEnd = 0;
    bool looped = false;
    double sampleRate = 44100.0;
    // The key the recording sounds at, in fractional semitones, when its sample rate is kept:
    // the root key less the tuning (coarse, fine and the sample's own correction) it is played
    // with.
    double pitchKey = 60.0;
};

// The zones of the preset that a note of this velocity plays, sorted by key; of a stereo pair
// only the left zone (with its partner). Zones whose addresses leave their sample are skipped.
std::vector<RecordedZone> recordedZones(const SoundFont& font, const SoundFontPreset& preset,
                                        int velocity);

// At most `count` zones that cover the key range of `zones` (sorted by key): neighbours are
// merged and each group keeps the recording nearest its middle, the group's key range widened to
// reach the next group.
std::vector<RecordedZone> pickZones(const std::vector<RecordedZone>& zones, std::size_t count);

}  // namespace makelib
