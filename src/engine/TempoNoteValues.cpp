#include "engine/TempoNoteValues.h"

const NoteValue kNoteValues[kNoteValueCount] = {
    {"1/1", 4.0f},         {"1/2", 2.0f},         {"1/4", 1.0f},          {"1/8", 0.5f},
    {"1/16", 0.25f},       {"1/32", 0.125f},      {"1/1T", 8.0f / 3.0f},  {"1/2T", 4.0f / 3.0f},
    {"1/4T", 2.0f / 3.0f}, {"1/8T", 1.0f / 3.0f}, {"1/16T", 1.0f / 6.0f}, {"1/32T", 1.0f / 12.0f},
    {"1/1D", 6.0f},        {"1/2D", 3.0f},        {"1/4D", 1.5f},         {"1/8D", 0.75f},
    {"1/16D", 0.375f},     {"1/32D", 0.1875f},
};

int32_t noteValueIndex(float value) {
    float scaled = value * 17.0f + 0.5f;
    if (!(scaled > 0.0f)) return 0;  // also catches NaN
    if (scaled >= static_cast<float>(kNoteValueCount - 1)) return kNoteValueCount - 1;
    return static_cast<int32_t>(scaled);
}

const NoteValue& lfoNoteValue(float speed) {
    float scaled = speed * 18.0f + 0.5f;
    if (!(scaled >= 1.0f)) return kTwoBars;  // also catches NaN
    if (scaled >= static_cast<float>(kNoteValueCount)) return kNoteValues[kNoteValueCount - 1];
    return kNoteValues[static_cast<int32_t>(scaled) - 1];
}

const NoteValue& sweepNoteValue(double speed) {
    double scaled = speed * 18.0;
    if (!(scaled > 0.0)) return kNoteValues[0];
    if (scaled >= kNoteValueCount - 1) return kNoteValues[kNoteValueCount - 1];
    return kNoteValues[static_cast<int32_t>(scaled)];
}

double beatStep(double value) {
    double scaled = value * kBeatStepCount;
    if (!(scaled > 0.0)) return kBeatSteps[0];
    if (scaled >= kBeatStepCount - 1) return kBeatSteps[kBeatStepCount - 1];
    return kBeatSteps[static_cast<int32_t>(scaled)];
}
