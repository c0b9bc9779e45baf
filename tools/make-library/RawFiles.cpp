#include "RawFiles.h"

namespace makelib {
namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::int32_t value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::int32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, (value >> 16) & 0xFFFF);
}

}  // namespace

std::vector<std::uint8_t> sampleFileBytes(const SampleData& sample) {
    std::vector<std::uint8_t> out(kSampleHeaderSize + 2 * sample.samples.size(), 0);
    out[0] = kSampleFormatVersion;
    out[2] = static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.rootKey));
    out[3] = static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.fineTune));
    put16(out, 4, 0);  // start frame
    put32(out, 8, sample.loopStart);
    put32(out, 12, sample.loopEnd);
    for (std::size_t i = 0; i < sample.samples.size(); ++i) {
        put16(out, kSampleHeaderSize + 2 * i, sample.samples[i]);
    }
    return out;
}

std::vector<std::uint8_t> filterFileBytes(std::uint8_t gain,
                                          const std::vector<FilterFrame>& frames) {
    std::vector<std::uint8_t> out(kFilterHeaderSize + sizeof(FilterFrame) * frames.size(), 0);
    out[0] = kSampleFormatVersion;
    out[1] = gain;
    put32(out, 12, static_cast<std::int32_t>(frames.size()));
    put16(out, 38, kFilterOrder);
    std::size_t at = kFilterHeaderSize;
    for (const FilterFrame& frame : frames) {
        for (std::int16_t v : frame) {
            put16(out, at, v);
            at += 2;
        }
    }
    return out;
}

}  // namespace makelib
