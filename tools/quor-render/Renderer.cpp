#include "Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "WavWriter.h"
#include "engine/DelayUnit.h"
#include "hostlib/VstHost.h"

namespace quorrender {
namespace {

constexpr float kSilence = 1.0f / 32768.0f;  // below one step of a 16-bit file

// The delay effect's echoes are at most its buffer apart: a tempo-synchronised length at a slow
// tempo is cut to the buffer too. A quiet gap between two echoes is therefore shorter than the
// buffer; a quarter second more lets a sound's own release pause without ending the tail.
constexpr double kLongestEchoSpacingSeconds = DelayUnit::kDefaultMaxMs / 1000.0;
constexpr double kSilentSeconds = kLongestEchoSpacingSeconds + 0.25;

bool fail(std::string* error, const std::string& text) {
    *error = text;
    return false;
}

bool checkPlugin(const VstHost& host, const RenderOptions& options, std::string* error) {
    const AEffect* effect = host.effect();
    if (effect->magic != kEffectMagic)
        return fail(error, "'" + options.plugin + "' is not a VST 2.4 plug-in");
    // The host hands the plug-in two input and two output buffers.
    if (effect->numOutputs < 1 || effect->numOutputs > 2 || effect->numInputs > 2) {
        return fail(error, "'" + options.plugin + "' has " + std::to_string(effect->numInputs) +
                               " inputs and " + std::to_string(effect->numOutputs) +
                               " outputs; only instruments with one or two outputs are supported");
    }
    if (options.program > effect->numPrograms) {
        return fail(error, "program " + std::to_string(options.program) +
                               " does not exist (the plug-in has " +
                               std::to_string(effect->numPrograms) + ")");
    }
    return true;
}

// Program and preset changes are applied by the plug-in outside the audio call; asking for the
// program name is the host's way of letting it catch up at once. A MIDI program change is
// followed by one discarded block, for plug-ins that read their events while processing.
void selectProgramAndPreset(VstHost& host, const RenderOptions& options) {
    if (options.program > 0) {
        host.setProgram(options.program - 1);
        host.programName();
    }
    host.resume();
    if (options.preset > 0) {
        std::vector<float> scratch(2 * options.blockSize);
        // A program change equal to the channel's current program may be ignored; a different
        // one first makes sure the wanted change is taken.
        const std::uint8_t other = options.preset == 128 ? 0 : 127;
        for (std::uint8_t program : {other, static_cast<std::uint8_t>(options.preset - 1)}) {
            host.sendMidi(0xC0, program, 0);
            host.process(scratch.data(), scratch.data() + options.blockSize, options.blockSize);
            host.programName();
        }
    }
    host.setSamplePosition(0.0);
}

void releaseEverything(VstHost& host, std::int32_t delta) {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        host.sendMidi(0xB0 | channel, 64, 0, delta);   // sustain pedal up
        host.sendMidi(0xB0 | channel, 123, 0, delta);  // all notes off
    }
}

}  // namespace

double tailSilenceSeconds() {
    return kSilentSeconds;
}

bool renderSong(const RenderOptions& options, const MidiSong& song, RenderSummary* summary,
                std::string* error) {
    *summary = RenderSummary{};
    VstHost host;
    if (!host.load(options.plugin.c_str()))
        return fail(error, "cannot load plug-in '" + options.plugin + "': " + host.error());
    if (!checkPlugin(host, options, error)) return false;
    host.open();
    host.setSampleRate(static_cast<float>(options.sampleRate));
    host.setBlockSize(options.blockSize);
    host.setTempo(song.tempoAt(0.0));
    selectProgramAndPreset(host, options);

    WavWriter wav;
    if (!wav.open(options.output, options.sampleRate, options.format))
        return fail(error, wav.error());

    const double rate = options.sampleRate;
    const std::uint64_t songFrames =
        static_cast<std::uint64_t>(std::ceil(song.lengthSeconds * rate));
    const std::uint64_t tailLimit = static_cast<std::uint64_t>(options.maxTailSeconds * rate);
    const std::uint64_t silentNeeded = static_cast<std::uint64_t>(kSilentSeconds * rate);
    const bool showProgress = !options.quiet && song.lengthSeconds > 20.0;
    std::vector<float> left(options.blockSize), right(options.blockSize);
    std::size_t next = 0;  // next message to send
    std::uint64_t silentRun = 0;
    bool released = false;
    int lastPercent = -1;

    for (std::uint64_t start = 0;; start += options.blockSize) {
        const std::uint64_t end = start + options.blockSize;
        if (start >= songFrames) {
            if (summary->tailFrames >= tailLimit) {
                summary->tailCut = silentRun < silentNeeded;
                break;
            }
            if (silentRun >= silentNeeded) break;
        }
        host.setTempo(song.tempoAt(start / rate));
        for (; next < song.messages.size(); ++next) {
            const MidiMessage& m = song.messages[next];
            const std::uint64_t frame = static_cast<std::uint64_t>(std::llround(m.seconds * rate));
            if (frame >= end) break;
            host.sendMidi(m.bytes[0], m.bytes[1], m.bytes[2],
                          static_cast<std::int32_t>(frame > start ? frame - start : 0));
        }
        if (!released && songFrames < end && next == song.messages.size()) {
            releaseEverything(
                host, static_cast<std::int32_t>(songFrames > start ? songFrames - start : 0));
            released = true;
        }
        host.process(left.data(), right.data(), options.blockSize);
        if (host.effect()->numOutputs == 1) right = left;
        host.idle();

        float blockPeak = 0.0f;
        for (int i = 0; i < options.blockSize; ++i) {
            for (float* x : {&left[i], &right[i]}) {
                if (!std::isfinite(*x)) {
                    ++summary->nonFinite;
                    *x = 0.0f;
                }
                blockPeak = std::max(blockPeak, std::fabs(*x));
            }
        }
        summary->peak = std::max(summary->peak, blockPeak);
        silentRun = blockPeak < kSilence ? silentRun + options.blockSize : 0;
        if (start >= songFrames) summary->tailFrames += options.blockSize;
        if (!wav.write(left.data(), right.data(), options.blockSize))
            return fail(error, wav.error());

        if (showProgress && songFrames > 0) {
            const int percent =
                static_cast<int>(std::min<std::uint64_t>(100, end * 100 / songFrames));
            if (percent / 10 != lastPercent / 10) {
                std::fprintf(stderr, "quor-render: %d%%\n", percent);
                lastPercent = percent;
            }
        }
    }
    summary->frames = wav.frames();
    host.suspend();
    if (!wav.close()) return fail(error, wav.error());
    return true;
}

}  // namespace quorrender
