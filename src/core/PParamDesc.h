// The constant parameter table: one row per host parameter, in index order. Parameter indices are
// the vocabulary of the whole instrument (editor tags, controller file, chunk value order).
#pragma once

#include <cstdint>

inline constexpr int kNumParams = 108;

struct PParamDesc {
    float defaultValue;        // value of a fresh preset
    char name[30];             // shown to the host, matched by the controller file
    char label[12];            // decorative unit text, always four characters
    std::uint16_t controller;  // MIDI controller of the default controller map
};

// Parameter indices that code refers to by name.
enum ParamIndex : int {
    kParamFilterEmphasis = 45,
    kParamMasterTune = 56,
    kParamMasterVolume = 57,
    kParamFxSync = 65,
    kParamFxDelay = 66,
    kParamVoices = 85,
    kParamFxBypass = 91,
    kParamFxType = 93,
    kParamModWheel = 94,
};

// The row of a parameter; null for an index outside 0..kNumParams-1.
const PParamDesc* paramDesc(int index);

// The first parameter whose name equals `name` ignoring ASCII letter case; -1 when none does
// (an empty name matches nothing: the unnamed filler rows are not parameters one can name).
int findParameterByName(const char* name);
