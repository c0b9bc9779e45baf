// The note values a tempo-synchronised speed or delay can take ("1/1" ... "1/32D"), with their
// lengths in quarter-note beats. Shared by the layer LFOs, the sweep LFO, the delay's
// synchronised length and the editor's speed display.
#pragma once

#include <cstdint>

inline constexpr int32_t kNoteValueCount = 18;

struct NoteValue {
    const char* name;
    float beats;
};

extern const NoteValue kNoteValues[kNoteValueCount];

// The entry a 0..1 parameter value selects: the integer part of value x 17 + 0.5, kept in 0..17.
int32_t noteValueIndex(float value);
