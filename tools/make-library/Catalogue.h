// The instruments of the bundled library: what each one's Base and Top excitations are made of
// and how its Filter frames move from the opened to the settled spectral envelope.
#pragma once

#include <string>
#include <vector>

#include "Excitation.h"
#include "EnvelopeShape.h"

namespace makelib {

// A preset of the General MIDI sound bank, by bank and program number, and the loudness of the
// instrument made from it above its loudest stretch.
struct RecordingSource {
    int bank = 0;
    int program = -1;  // -1: the instrument is designed, not recorded
    double levelDb = 0.0;
};

// An instrument. One with a recording source is analysed from that recording when the sound bank
// is there; its designed sources stand in for the recording otherwise, and give its Top layer.
struct InstrumentRecipe {
    std::string name;
    int category = 0;  // index into categoryNames()
    RecordingSource recording;
    ExcitationRecipe base;
    ExcitationRecipe top;
    EnvelopeShape opened;       // Filter frame 0
    EnvelopeShape settled;      // the last Filter frame
    double bodyTracking = 0.0;  // 0: resonances fixed in Hz; 1: they follow the zone's pitch
    bool kit = false;           // one zone whose Base and Top are tables of start points
    // Loudness above the steady-loop match: struck and plucked sounds are heard mostly in their
    // decay, and some noises and organs sound thinner than their loop's RMS suggests.
    double levelDb = 0.0;
    bool recorded() const { return recording.program >= 0; }
};

const std::vector<std::string>& categoryNames();
std::vector<InstrumentRecipe> catalogue();

}  // namespace makelib
