#include "core/PParamDesc.h"

namespace {

// default, name, label, default MIDI controller
constexpr PParamDesc kTable[kNumParams] = {
    {0.9f, "ADSR Amount FilterHi", " dB ", 80},  // 0
    {0.9f, "ADSR Amount FilterLo", " dB ", 81},  // 1
    {0.0f, "ADSR Offset FilterHi", " dB ", 23},  // 2
    {0.0f, "ADSR Offset FilterLo", " dB ", 74},  // 3
    {0.8f, "Base Volume Hi", " dB ", 70},        // 4
    {0.8f, "Base Volume Lo", " dB ", 71},        // 5
    {0.3f, "Top Volume Hi", " dB ", 22},         // 6
    {0.3f, "Top Volume Lo", " dB ", 41},         // 7
    {0.0f, "ADSR Attack Base Lo", " ms ", 73},   // 8
    {0.8f, "ADSR Decay Base Hi", " ms ", 21},    // 9
    {0.0f, "ADSR Sustain Base Lo", " dB ", 75},  // 10
    {0.2f, "ADSR Release Base Lo", " ms ", 72},  // 11
    {0.0f, "ADSR Attack TopLo", " ms ", 44},     // 12
    {0.7f, "ADSR Decay TopHi", " ms ", 45},      // 13
    {0.0f, "ADSR Sustain TopLo", " dB ", 46},    // 14
    {0.2f, "ADSR Release TopLo", " ms ", 47},    // 15
    {0.0f, "ADSR Attack FilterLo", " ms ", 83},  // 16
    {0.9f, "ADSR Decay Filter Hi", " ms ", 90},  // 17
    {0.0f, "ADSR Sustain Filt Lo", " dB ", 85},  // 18
    {0.2f, "ADSR Release Filt Lo", " ms ", 82},  // 19
    {0.8f, "ADSR Decay Base Lo", " ms ", 79},    // 20
    {0.7f, "ADSR Decay Top Lo", " ms ", 52},     // 21
    {0.8f, "ADSR Decay Filter Lo", " ms ", 89},  // 22
    {0.3f, "Base Attack Bend", " xf ", 53},      // 23
    {0.0f, "Base Decay Bend", " xf ", 54},       // 24
    {0.0f, "Base Release Bend", " xf ", 55},     // 25
    {0.3f, "Top Attack Bend", " xf ", 56},       // 26
    {0.0f, "Top Decay Bend", " xf ", 57},        // 27
    {0.0f, "Top Release Bend", " xf ", 58},      // 28
    {0.5f, "Filter Attack Bend", " xf ", 24},    // 29
    {0.4f, "Filter Decay Bend", " xf ", 25},     // 30
    {0.4f, "Filter Release Bend", " xf ", 26},   // 31
    {0.5f, "LFO Speed Base", " Hz ", 59},        // 32
    {0.0f, "LFO Delay Base", " ms ", 60},        // 33
    {0.0f, "LFO Amount Base", " dB ", 61},       // 34
    {0.0f, "LFO Form Base", "    ", 62},         // 35
    {0.0f, "LFO Sync Base", "    ", 63},         // 36
    {0.5f, "LFO Speed Top", " Hz ", 2},          // 37
    {0.0f, "LFO Delay Top", " ms ", 104},        // 38
    {0.0f, "LFO Amount Top", " dB ", 105},       // 39
    {0.0f, "LFO Form Top", "    ", 106},         // 40
    {0.0f, "LFO Sync Top", "    ", 107},         // 41
    {0.5f, "LFO Speed Filter", " Hz ", 67},      // 42
    {0.0f, "LFO Delay Filter", " ms ", 108},     // 43
    {0.0f, "LFO Amount Filter", " dB ", 11},     // 44
    {0.0f, "Filter Emphasis", "    ", 66},       // 45
    {0.0f, "LFO Sync Filter", "    ", 102},      // 46
    {0.5f, "Pitch LFO Speed", "    ", 84},       // 47
    {0.0f, "Pitch LFO Delay", " ms ", 5},        // 48
    {0.0f, "Pitch LFO Amount", " dB ", 1},       // 49
    {0.75f, "Pitch LFO Form", "    ", 4},        // 50
    {0.0f, "Pitch LFO Sync", "    ", 103},       // 51
    {0.5f, "Octave Base", "oct ", 28},           // 52
    {0.0f, "Unused", "    ", 31},                // 53
    {0.5f, "Octave Top", "oct ", 29},            // 54
    {0.0f, "Unused", "    ", 30},                // 55
    {0.5f, "Master Tune", "cent", 16},           // 56
    {0.8f, "Master Volume", " dB ", 7},          // 57
    {0.8f, "Pan Spread", "    ", 69},            // 58
    {0.8f, "Velocity Base", "    ", 109},        // 59
    {0.8f, "Velocity Top", "    ", 110},         // 60
    {0.0f, "Velocity Filter", "    ", 15},       // 61
    {0.0f, "Vel Attack Base", "    ", 111},      // 62
    {0.0f, "Vel Attack Top", "    ", 112},       // 63
    {0.0f, "Vel Attack Filter", "    ", 27},     // 64
    {0.0f, "Fx Sync", "    ", 13},               // 65
    {0.0f, "Fx Delay", "    ", 95},              // 66
    {0.0f, "Fx Feedback", "    ", 94},           // 67
    {0.0f, "Fx Spread", "    ", 93},             // 68
    {0.0f, "Fx Speed", "    ", 92},              // 69
    {0.0f, "Fx Depth", "    ", 91},              // 70
    {0.0f, "Fx Mix", "    ", 12},                // 71
    {1.0f, "LFO Smooth Base", "    ", 113},      // 72
    {1.0f, "LFO Smooth Top", "    ", 114},       // 73
    {1.0f, "LFO Smooth Filter", "    ", 115},    // 74
    {0.0f, "Master LFO", "    ", 8},             // 75
    {0.0f, "ADSR Attack Base Hi", " ms ", 76},   // 76
    {0.0f, "ADSR Sustain Base Hi", " dB ", 77},  // 77
    {0.2f, "ADSR Release Base Hi", " ms ", 78},  // 78
    {0.0f, "ADSR Attack Top Hi", " ms ", 116},   // 79
    {0.0f, "ADSR Sustain Top Hi", " dB ", 117},  // 80
    {0.2f, "ADSR Release Top Hi", " ms ", 118},  // 81
    {0.0f, "ADSR Attack FilterHi", " ms ", 86},  // 82
    {0.0f, "ADSR Sustain Filt Hi", " dB ", 87},  // 83
    {0.2f, "ADSR Release Filt Hi", " ms ", 88},  // 84
    {0.24f, "Voices", "    ", 0},                // 85
    {0.5f, "Pan", "    ", 10},                   // 86
    {0.0f, "Start Offset Base", "    ", 96},     // 87
    {0.0f, "Start Offset Top", "    ", 97},      // 88
    {0.0f, "Vel Start Base", "    ", 119},       // 89
    {0.0f, "Vel Start Top", "    ", 120},        // 90
    {0.0f, "FX Bypass", "    ", 9},              // 91
    {0.0f, "LFO Bypass", "    ", 114},           // 92
    {0.0f, "FX Type", "    ", 0},                // 93
    {0.0f, "ModWheelParam", "    ", 0},          // 94
    {0.55f, "B Icon X", "    ", 0},              // 95
    {0.55f, "B Icon Y", "    ", 0},              // 96
    {0.55f, "T Icon X", "    ", 0},              // 97
    {0.55f, "T Icon Y", "    ", 0},              // 98
    {0.55f, "F Icon X", "    ", 0},              // 99
    {0.55f, "F Icon Y", "    ", 0},              // 100
    {0.0f, "", "", 0},                           // 101
    {0.0f, "", "", 0},                           // 102
    {0.0f, "", "", 0},                           // 103
    {0.0f, "", "", 0},                           // 104
    {0.0f, "", "", 0},                           // 105
    {0.0f, "", "", 0},                           // 106
    {0.0f, "", "", 0},                           // 107
};

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (lowerAscii(*a) != lowerAscii(*b)) return false;
    }
    return *a == *b;
}

}  // namespace

const PParamDesc* paramDesc(int index) {
    return (index >= 0 && index < kNumParams) ? &kTable[index] : nullptr;
}

int findParameterByName(const char* name) {
    if (!name || !*name) return -1;
    for (int i = 0; i < kNumParams; ++i) {
        if (equalsIgnoringCase(kTable[i].name, name)) return i;
    }
    return -1;
}
