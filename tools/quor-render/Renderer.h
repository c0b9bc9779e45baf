// Plays a MIDI song through a VST 2.4 instrument into a WAV file: the plug-in is loaded through
// its entry point, set to the chosen rate, block size, program and preset; every MIDI message
// reaches it at its exact frame inside the block it falls in, the time information reports the
// song's tempo at each block, and after the last event the release tail is rendered until the
// output stays silent (or the tail limit is reached).
#pragma once

#include <cstdint>
#include <string>

#include "MidiFile.h"
#include "RenderOptions.h"

namespace quorrender {

struct RenderSummary {
    std::uint64_t frames = 0;
    std::uint64_t tailFrames = 0;
    bool tailCut = false;  // the output had not fallen silent when the tail limit was reached
    float peak = 0.0f;
    std::uint64_t nonFinite = 0;  // NaN or infinite samples (written as silence in PCM files)
};

// How long the output must stay below one 16-bit step before the tail counts as over: longer
// than the longest spacing of the instrument's echoes.
double tailSilenceSeconds();

// False with a one-line reason in *error (a plug-in that fails to load, an unwritable file, ...).
bool renderSong(const RenderOptions& options, const MidiSong& song, RenderSummary* summary,
                std::string* error);

}  // namespace quorrender
