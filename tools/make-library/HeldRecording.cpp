#include "HeldRecording.h"

#include <algorithm>

namespace makelib {

std::vector<std::int16_t> heldRecording(const SoundFont& font, const RecordedZone& zone,
                                        std::size_t frames) {
    const bool looped = zone.looped && zone.start <= zone.loopStart &&
                        zone.loopStart < zone.loopEnd && zone.loopEnd <= font.samples.size();
    const std::size_t end =
        looped ? zone.loopEnd : std::min<std::size_t>(zone.end, font.samples.size());
    std::vector<std::int16_t> out;
    out.reserve(frames);
    std::size_t at = zone.start;
    while (out.size() < frames && at < end) {
        out.push_back(font.samples[at]);
        if (++at == end && looped) at = zone.loopStart;
    }
    return out;
}

}  // namespace makelib
