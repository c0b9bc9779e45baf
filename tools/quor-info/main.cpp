// quor-info <plugin>: loads a VST 2.4 plug-in as a host does and prints what a host sees.
#include <cstdio>
#include <string>

#include "hostlib/VstHost.h"

namespace {

// The unique id as its four characters, with anything unprintable shown as '?'.
std::string idText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string flagsText(std::int32_t flags) {
    struct Name {
        std::int32_t flag;
        const char* text;
    };
    static const Name names[] = {{effFlagsHasEditor, "has-editor"},
                                 {effFlagsCanReplacing, "can-replacing"},
                                 {effFlagsProgramChunks, "program-chunks"},
                                 {effFlagsIsSynth, "is-synth"},
                                 {effFlagsNoSoundInStop, "no-sound-in-stop"},
                                 {effFlagsCanDoubleReplacing, "can-double-replacing"}};
    std::string text;
    for (const Name& name : names) {
        if (!(flags & name.flag)) continue;
        if (!text.empty()) text += ' ';
        text += name.text;
    }
    return text.empty() ? "none" : text;
}

constexpr int kParametersShown = 8;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quor-info <plugin module>\n");
        return 2;
    }
    VstHost host;
    if (!host.load(argv[1])) {
        std::fprintf(stderr, "quor-info: %s\n", host.error().c_str());
        return 1;
    }
    host.open();
    host.setSampleRate(44100.0f);
    host.setBlockSize(512);

    const AEffect* effect = host.effect();
    std::printf("name:        %s\n", host.effectName().c_str());
    std::printf("vendor:      %s\n", host.vendorString().c_str());
    std::printf("product:     %s\n", host.productString().c_str());
    std::printf("version:     %d (vendor), %d (record)\n", host.vendorVersion(), effect->version);
    std::printf("unique id:   '%s' (0x%08X)\n", idText(effect->uniqueID).c_str(),
                static_cast<unsigned>(effect->uniqueID));
    std::printf("category:    %d\n", host.plugCategory());
    std::printf("flags:       0x%X (%s)\n", static_cast<unsigned>(effect->flags),
                flagsText(effect->flags).c_str());
    std::printf("inputs:      %d\n", effect->numInputs);
    std::printf("outputs:     %d\n", effect->numOutputs);
    std::printf("programs:    %d\n", effect->numPrograms);
    for (int p = 0; p < effect->numPrograms; ++p)
        std::printf("  %d: %s\n", p, host.programNameIndexed(p).c_str());
    std::printf("parameters:  %d\n", effect->numParams);
    for (int i = 0; i < effect->numParams && i < kParametersShown; ++i)
        std::printf("  %3d: %-30s %-8s [%s]\n", i, host.parameterName(i).c_str(),
                    host.parameterDisplay(i).c_str(), host.parameterLabel(i).c_str());
    if (effect->numParams > kParametersShown)
        std::printf("  ... %d more\n", effect->numParams - kParametersShown);
    return 0;
}
