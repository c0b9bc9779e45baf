#include "RenderOptions.h"

#include <charconv>

namespace quorrender {
namespace {

template <typename T>
bool number(const std::string& text, T low, T high, T* out) {
    T value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value < low || value > high) return false;
    *out = value;
    return true;
}

}  // namespace

const char* renderUsage() {
    return "usage: quor-render [options] <plug-in> <MIDI file> <output.wav>\n"
           "  --rate HZ        sample rate, 8000..384000 (default 44100)\n"
           "  --block FRAMES   frames per processing call, 1..8192 (default 512)\n"
           "  --format F       16, 24 or float (default 16)\n"
           "  --program N      host program to select, from 1\n"
           "  --preset N       MIDI program change 1..128 to send before the first note\n"
           "  --tail SECONDS   longest release tail after the last event (default 30)\n"
           "  --quiet          no progress or summary\n";
}

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions* options,
                        std::string* error) {
    *options = RenderOptions{};
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--quiet") {
            options->quiet = true;
            continue;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--rate") {
            ok = number(value, 8000, 384000, &options->sampleRate);
        } else if (arg == "--block") {
            ok = number(value, 1, 8192, &options->blockSize);
        } else if (arg == "--program") {
            ok = number(value, 1, 1 << 20, &options->program);
        } else if (arg == "--preset") {
            ok = number(value, 1, 128, &options->preset);
        } else if (arg == "--tail") {
            ok = number(value, 0.0, 3600.0, &options->maxTailSeconds);
        } else if (arg == "--format") {
            if (value == "16")
                options->format = WavFormat::Pcm16;
            else if (value == "24")
                options->format = WavFormat::Pcm24;
            else if (value == "float")
                options->format = WavFormat::Float32;
            else
                ok = false;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
        if (!ok) {
            *error = "bad value '" + value + "' for " + arg;
            return false;
        }
    }
    if (positional.size() != 3) {
        *error = "expected <plug-in> <MIDI file> <output.wav>";
        return false;
    }
    options->plugin = positional[0];
    options->midi = positional[1];
    options->output = positional[2];
    return true;
}

}  // namespace quorrender
