// Gain bytes that bring every instrument to a similar loudness: the zone's Base and Top loops are
// played at full amplitude through the middle Filter frame, with the voice's fixed-point scaling,
// and the gain is chosen so the result has the same RMS for every zone, raised by the
// instrument's own level offset.
#pragma once

#include <cstdint>
#include <vector>

#include "Excitation.h"
#include "FilterTable.h"

namespace makelib {

inline constexpr double kTargetVoiceRms = 0.08;

// RMS of the voice output for this combination with gain byte `gain` (before envelopes).
double voiceRms(const SampleData& base, const SampleData& top,
                const std::vector<FilterFrame>& frames, int gain);

// `levelDb` raises (or lowers) the target RMS, for instruments whose steady loop is a poor guide
// to how loud they sound.
std::uint8_t gainByteFor(const SampleData& base, const SampleData& top,
                         const std::vector<FilterFrame>& frames, double levelDb = 0.0);

// The gain byte that brings a voice whose lattice output (in the kernel's integer units, before
// the gain) has this RMS to the target level raised by levelDb.
std::uint8_t gainByteForRms(double latticeRms, double levelDb);

}  // namespace makelib
