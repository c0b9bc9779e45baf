// Any bytes as a multi-point envelope record, in either byte order: reading must never leave
// the point array, and whatever is taken over must be an envelope every user can walk: counts
// and the sustain index in range, times and levels numbers in 0..1, the end silent.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/FMemoryStream.h"
#include "engine/MultiPointEnvelope.h"

namespace {

bool inUnit(double v) {
    return v >= 0 && v <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // A copy of exactly the payload's size, so that ASan sees any access past its end.
    std::vector<std::uint8_t> block(data + 1, data + size);
    FMemoryStream stream(block.data(), block.size());
    stream.setSwapBytes(data[0] & 1);
    MultiPointEnvelope env;
    if (!env.read(stream)) return 0;
    const int n = env.count();
    if (n < 0 || n > env.maxPoints() || env.maxPoints() > MultiPointEnvelope::kMaxPoints)
        __builtin_trap();
    if (env.sustain() < 0 || (n > 0 && env.sustain() >= n)) __builtin_trap();
    for (int i = 0; i < n; ++i) {
        const EnvelopePoint& p = env.point(i);
        if (!inUnit(p.time) || !inUnit(p.level) || !std::isfinite(p.step)) __builtin_trap();
    }
    if (n >= 2 && env.point(n - 1).level != 0) __builtin_trap();
    if (!std::isfinite(env.length())) __builtin_trap();
    // Every editing operation stays within the points afterwards.
    env.insertPoint(data[0] % 10 - 1);
    env.removePoint(data[0] % 9);
    if (env.sustain() < 0 || (env.count() > 0 && env.sustain() >= env.count())) __builtin_trap();
    return 0;
}
