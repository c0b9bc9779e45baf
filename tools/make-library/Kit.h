// The percussion kit: eight short hits in one sample resource that starts with a table of start
// points. Entry `key` of the first 128 samples holds the start of the hit that key plays; key & 7
// picks the hit and also sets its pitch step, so each hit is rendered at exactly the rate its key
// class reads it at and sounds at its designed pitch.
//
// Two table entries double as the markers by which the voice recognises the table (entries 0 and
// 3, which differ for the Base and the Top layer); their start points are fixed by those values,
// so the hits of key classes 0 and 3 are placed there and the other six fill the space before.
#pragma once

#include <cstdint>

#include "Excitation.h"

namespace makelib {

struct KitMarkers {
    std::int16_t entry0 = 0;  // sample 0
    std::int16_t entry3 = 0;  // sample 3
    int rootOffset = 0;       // the voice's pitch step is root - rootOffset + (key & 7)
};

inline constexpr KitMarkers kBaseKitMarkers{-3328, -3840, 8};
inline constexpr KitMarkers kTopKitMarkers{-6912, -4096, 9};
inline constexpr int kKitTableSize = 128;

// Start of the hit of key class `slot` (0..7) in a kit made with these markers.
int kitStart(const KitMarkers& markers, int slot);
// The rate (samples per second at 44100 Hz output) at which key class `slot` reads the kit.
double kitReadRate(const KitMarkers& markers, int rootKey, int slot);

SampleData makeKit(const KitMarkers& markers, double level);

}  // namespace makelib
