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

// The 14 lengths a 0..1 value selects as the integer part of value x 14 (kept in 0..13): in beats
// for the delay's own length, in cycles per beat for a synchronised VsLFO.
inline constexpr int32_t kBeatStepCount = 14;
inline constexpr double kBeatSteps[kBeatStepCount] = {
    0.125, 1.0 / 6, 0.25, 1.0 / 3, 0.375, 0.5, 2.0 / 3, 0.75, 1.0, 4.0 / 3, 1.5, 2.0, 3.0, 4.0};
double beatStep(double value);

// The entry a 0..1 parameter value selects: the integer part of value x 17 + 0.5, kept in 0..17.
// The delay's synchronised length.
int32_t noteValueIndex(float value);

// Two bars: the slowest length of a synchronised layer or pitch LFO.
inline constexpr NoteValue kTwoBars = {"2/1", 8.0f};
// The length a synchronised layer or pitch LFO plays at speed 0..1: the integer part of
// speed x 18 + 0.5, where 0 is kTwoBars and n is kNoteValues[n - 1].
const NoteValue& lfoNoteValue(float speed);
// The length a synchronised sweep LFO plays at speed 0..1: kNoteValues at the integer part of
// speed x 18, kept in 0..17.
const NoteValue& sweepNoteValue(double speed);
