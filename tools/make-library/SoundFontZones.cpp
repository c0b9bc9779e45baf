#include "SoundFontZones.h"

#include <algorithm>

namespace makelib {
namespace {

constexpr std::uint16_t kRightSample = 2, kLeftSample = 4;

// A zone's generators over its owner's global zone (the first one, when it has no closing
// generator).
struct Layered {
    const GeneratorZone* local;
    const GeneratorZone* global;
    const Generator* find(std::uint16_t type) const {
        const Generator* g = local->find(type);
        return g ? g : global ? global->find(type) : nullptr;
    }
    int value(std::uint16_t type, int fallback = 0) const {
        const Generator* g = find(type);
        return g ? g->value() : fallback;
    }
    // Whether a note of this velocity plays the zone; its key range in *low and *high.
    bool plays(int velocity, int* low, int* high) const {
        const Generator* keys = find(sfgen::kKeyRange);
        const Generator* velocities = find(sfgen::kVelocityRange);
        *low = keys ? keys->low() : 0;
        *high = keys ? keys->high() : 127;
        return *low <= *high &&
               (!velocities || (velocities->low() <= velocity && velocity <= velocities->high()));
    }
};

const GeneratorZone* globalZone(const std::vector<GeneratorZone>& zones, std::uint16_t closing) {
    return !zones.empty() && !zones.front().find(closing) ? &zones.front() : nullptr;
}

// `base` moved by a signed offset; false when that leaves [0, limit].
bool offsetAddress(std::uint32_t base, long long offset, std::uint32_t limit, std::uint32_t* out) {
    const long long address = static_cast<long long>(base) + offset;
    if (address < 0 || address > static_cast<long long>(limit)) return false;
    *out = static_cast<std::uint32_t>(address);
    return true;
}

bool resolveAddresses(const Layered& z, const SampleHeader& h, std::size_t dataSize,
                      RecordedZone* out) {
    const auto limit = static_cast<std::uint32_t>(std::min<std::size_t>(dataSize, 0xFFFFFFFFu));
    const auto offset = [&](std::uint16_t fine, std::uint16_t coarse) {
        return static_cast<long long>(z.value(fine)) + 32768LL * z.value(coarse);
    };
    if (!offsetAddress(h.start, offset(sfgen::kStartOffset, sfgen::kStartCoarseOffset), limit,
                       &out->start) ||
        !offsetAddress(h.end, offset(sfgen::kEndOffset, sfgen::kEndCoarseOffset), limit,
                       &out->end) ||
        out->end <= out->start) {
        return false;
    }
    const int modes = z.value(sfgen::kSampleModes) & 3;
    out->looped =
        (modes == 1 || modes == 3) &&
        offsetAddress(h.loopStart, offset(sfgen::kLoopStartOffset, sfgen::kLoopStartCoarseOffset),
                      limit, &out->loopStart) &&
        offsetAddress(h.loopEnd, offset(sfgen::kLoopEndOffset, sfgen::kLoopEndCoarseOffset), limit,
                      &out->loopEnd) &&
        out->start <= out->loopStart && out->loopStart < out->loopEnd && out->loopEnd <= out->end;
    if (!out->looped) out->loopStart = out->loopEnd = 0;
    return true;
}

// The right channel of a stereo pair is used when it is laid out like the left one.
int stereoPartner(const SoundFont& font, int sample) {
    const SampleHeader& left = font.sampleHeaders[sample];
    if (left.type != kLeftSample || left.link >= font.sampleHeaders.size()) return -1;
    const SampleHeader& right = font.sampleHeaders[left.link];
    const bool same = right.type == kRightSample &&
                      right.end - right.start == left.end - left.start &&
                      right.loopStart - right.start == left.loopStart - left.start &&
                      right.loopEnd - right.start == left.loopEnd - left.start &&
                      right.sampleRate == left.sampleRate;
    return same ? left.link : -1;
}

}  // namespace

std::vector<RecordedZone> recordedZones(const SoundFont& font, const SoundFontPreset& preset,
                                        int velocity) {
    std::vector<RecordedZone> out;
    const GeneratorZone* presetGlobal = globalZone(preset.zones, sfgen::kInstrument);
    for (const GeneratorZone& pz : preset.zones) {
        const Layered p{&pz, presetGlobal};
        const Generator* instrumentId = pz.find(sfgen::kInstrument);
        int pKeyLow, pKeyHigh;
        if (!instrumentId || !p.plays(velocity, &pKeyLow, &pKeyHigh)) continue;
        const SoundFontInstrument& instrument = font.instruments[instrumentId->amount];
        const GeneratorZone* instrumentGlobal = globalZone(instrument.zones, sfgen::kSampleId);
        for (const GeneratorZone& iz : instrument.zones) {
            const Layered z{&iz, instrumentGlobal};
            const Generator* sampleId = iz.find(sfgen::kSampleId);
            int keyLow, keyHigh;
            if (!sampleId || !z.plays(velocity, &keyLow, &keyHigh)) continue;
            const SampleHeader& h = font.sampleHeaders[sampleId->amount];
            if (h.type == kRightSample) continue;  // played with its left channel
            RecordedZone r;
            r.keyLow = std::max(keyLow, pKeyLow);
            r.keyHigh = std::min(keyHigh, pKeyHigh);
            r.sample = sampleId->amount;
            if (r.keyLow > r.keyHigh || !resolveAddresses(z, h, font.samples.size(), &r)) continue;
            r.partner = stereoPartner(font, r.sample);
            r.sampleRate = h.sampleRate;
            const int root = z.value(sfgen::kRootKey, -1);
            const int key = root >= 0 && root <= 127 ? root
                            : h.originalKey <= 127   ? h.originalKey
                                                     : 60;
            const double cents =
                100.0 * (z.value(sfgen::kCoarseTune) + p.value(sfgen::kCoarseTune)) +
                z.value(sfgen::kFineTune) + p.value(sfgen::kFineTune) + h.correction;
            r.pitchKey = key - cents / 100.0;
            out.push_back(r);
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const RecordedZone& a, const RecordedZone& b) {
        return a.keyLow < b.keyLow;
    });
    return out;
}

std::vector<RecordedZone> pickZones(const std::vector<RecordedZone>& zones, std::size_t count) {
    std::vector<RecordedZone> out;
    const std::size_t n = zones.size();
    const std::size_t groups = std::min(n, count);
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t first = g * n / groups, last = (g + 1) * n / groups - 1;
        RecordedZone picked = zones[(first + last + 1) / 2];
        picked.keyLow = g == 0 ? 0 : out.back().keyHigh + 1;
        if (picked.keyLow > 127) break;
        picked.keyHigh = g + 1 == groups ? 127 : std::max(zones[last].keyHigh, picked.keyLow);
        out.push_back(picked);
    }
    return out;
}

}  // namespace makelib
