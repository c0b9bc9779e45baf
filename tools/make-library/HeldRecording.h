// A zone's recording as it sounds while its key is held: from the start through the sustain
// loop, the loop then repeated. make-library writes it out so that an instrument made from a
// recording can be compared with its source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SoundFont.h"
#include "SoundFontZones.h"

namespace makelib {

// `frames` frames of the zone's (left) recording held; a zone without a usable loop ends at the
// recording's end.
std::vector<std::int16_t> heldRecording(const SoundFont& font, const RecordedZone& zone,
                                        std::size_t frames);

}  // namespace makelib
