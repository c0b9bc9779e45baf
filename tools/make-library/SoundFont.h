// A SoundFont 2 bank as the generator needs it: the 16-bit sample data, the sample headers, and
// the presets and instruments with the generators of their zones (modulators are not kept; an
// extra 24-bit "sm24" chunk is ignored).
//
// Reading checks the file's structure completely: chunk extents, record sizes, every index from
// a preset into its zones and generators, from a zone into the instruments and samples, and
// every sample header's addresses against the sample data. A damaged file is refused with a
// message that says what is wrong; nothing of it is used.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Riff.h"

namespace makelib {

namespace sfgen {
// The generators the generator reads, by their numbers in the file.
enum : std::uint16_t {
    kStartOffset = 0,
    kEndOffset = 1,
    kLoopStartOffset = 2,
    kLoopEndOffset = 3,
    kStartCoarseOffset = 4,
    kEndCoarseOffset = 12,
    kInstrument = 41,
    kKeyRange = 43,
    kVelocityRange = 44,
    kLoopStartCoarseOffset = 45,
    kLoopEndCoarseOffset = 50,
    kCoarseTune = 51,
    kFineTune = 52,
    kSampleId = 53,
    kSampleModes = 54,
    kRootKey = 58,
};
}  // namespace sfgen

struct Generator {
    std::uint16_t type = 0;
    std::uint16_t amount = 0;  // a signed value, an unsigned index, or a low/high byte range
    std::int16_t value() const { return static_cast<std::int16_t>(amount); }
    int low() const { return amount & 0xFF; }
    int high() const { return amount >> 8; }
};

// A zone's generators; the first zone of a preset or instrument without its closing generator
// (instrument or sample) is the global zone whose values the others default to.
struct GeneratorZone {
    std::vector<Generator> generators;
    const Generator* find(std::uint16_t type) const;
};

struct SampleHeader {
    std::string name;
    std::uint32_t start = 0, end = 0, loopStart = 0, loopEnd = 0;  // in sample frames
    std::uint32_t sampleRate = 44100;
    int originalKey = 60;
    int correction = 0;  // cents
    std::uint16_t link = 0;
    std::uint16_t type = 1;  // 1 mono, 2 right, 4 left, 8 linked; 0x8000 in ROM
};

struct SoundFontInstrument {
    std::string name;
    std::vector<GeneratorZone> zones;
};

struct SoundFontPreset {
    std::string name;
    int program = 0;
    int bank = 0;
    std::vector<GeneratorZone> zones;
};

struct SoundFont {
    std::vector<std::int16_t> samples;
    std::vector<SampleHeader> sampleHeaders;
    std::vector<SoundFontInstrument> instruments;
    std::vector<SoundFontPreset> presets;

    const SoundFontPreset* findPreset(int bank, int program) const;
};

// False with a reason in *error when the bytes are not a sound bank or are damaged.
bool readSoundFont(const ByteSource& source, SoundFont* font, std::string* error);
bool readSoundFontFile(const std::string& path, SoundFont* font, std::string* error);

}  // namespace makelib
