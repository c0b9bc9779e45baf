// The sound bank reader on arbitrary bytes: it must never read outside the input or crash, a
// refusal must say why, and every zone of an accepted bank must lie inside its sample data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SoundFont.h"
#include "SoundFontZones.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    makelib::SoundFont font;
    std::string error;
    if (!makelib::readSoundFont(makelib::MemorySource(data, size), &font, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    for (const makelib::SoundFontPreset& preset : font.presets) {
        for (int velocity : {1, 100}) {
            for (const makelib::RecordedZone& z : makelib::recordedZones(font, preset, velocity)) {
                if (z.start >= z.end || z.end > font.samples.size() || z.keyLow > z.keyHigh)
                    std::abort();
                if (z.looped &&
                    (z.loopStart < z.start || z.loopEnd <= z.loopStart || z.loopEnd > z.end))
                    std::abort();
            }
        }
    }
    return 0;
}
