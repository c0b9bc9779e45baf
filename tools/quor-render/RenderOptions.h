// The command line of quor-render:
//   quor-render [options] <plug-in> <MIDI file> <output.wav>
//     --rate HZ        sample rate (default 44100)
//     --block FRAMES   frames per processing call (default 512)
//     --format F       16, 24 or float (default 16)
//     --program N      host program 1..the plug-in's program count
//     --preset N       MIDI program change 1..128 sent before the first note
//     --tail SECONDS   longest release tail after the last event (default 30)
//     --quiet          no progress or summary
#pragma once

#include <string>
#include <vector>

#include "WavWriter.h"

namespace quorrender {

struct RenderOptions {
    std::string plugin;
    std::string midi;
    std::string output;
    int sampleRate = 44100;
    int blockSize = 512;
    WavFormat format = WavFormat::Pcm16;
    int program = 0;  // 1-based; 0 leaves the plug-in's current program
    int preset = 0;   // 1-based; 0 sends no program change
    double maxTailSeconds = 30.0;
    bool quiet = false;
};

// False with a one-line reason in *error on anything the renderer can't use.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions* options,
                        std::string* error);

const char* renderUsage();

}  // namespace quorrender
