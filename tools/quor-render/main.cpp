// quor-render: renders a Standard MIDI File through a VST 2.4 instrument into a WAV file.
// Exit status: 0 done, 1 the render failed, 2 bad command line or input file.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "MidiFile.h"
#include "RenderOptions.h"
#include "Renderer.h"

int main(int argc, char** argv) {
    using namespace quorrender;
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "quor-render: %s\n%s", error.c_str(), renderUsage());
        return 2;
    }
    MidiSong song;
    if (!loadMidiFile(options.midi, &song, &error)) {
        std::fprintf(stderr, "quor-render: %s\n", error.c_str());
        return 2;
    }
    RenderSummary summary;
    if (!renderSong(options, song, &summary, &error)) {
        std::fprintf(stderr, "quor-render: %s\n", error.c_str());
        return 1;
    }
    if (summary.nonFinite > 0) {
        std::fprintf(stderr, "quor-render: warning: %llu NaN or infinite samples written as 0\n",
                     static_cast<unsigned long long>(summary.nonFinite));
    }
    if (summary.tailCut) {
        std::fprintf(stderr, "quor-render: warning: the release tail was cut at %.1f s\n",
                     options.maxTailSeconds);
    }
    if (!options.quiet) {
        const double peakDb = summary.peak > 0.0f ? 20.0 * std::log10(summary.peak) : -999.0;
        std::printf("quor-render: wrote %s: %.2f s (tail %.2f s), peak %.1f dBFS\n",
                    options.output.c_str(), summary.frames / double(options.sampleRate),
                    summary.tailFrames / double(options.sampleRate), peakDb);
    }
    return 0;
}
