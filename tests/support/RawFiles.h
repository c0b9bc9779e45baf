// Raw sample and filter files built byte by byte for the tests: a header of little-endian fields
// at their offsets, then the 16-bit values.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace rawfiles {

// Base and Top files: a 16-byte header, then the samples.
inline constexpr int kSampleHeader = 16;
inline constexpr int kVersion = 0;     // 1 byte; the voice plays the layer from version 10 on
inline constexpr int kRootKey = 2;     // 1 byte
inline constexpr int kFineTune = 3;    // 1 byte, 50 = none
inline constexpr int kStartFrame = 4;  // 2 bytes
inline constexpr int kLoopStart = 8;   // 4 bytes
inline constexpr int kLoopEnd = 12;    // 4 bytes
// Filter files: a 64-byte header, then frames of 64 values.
inline constexpr int kFilterHeader = 64;
inline constexpr int kGain = 1;         // 1 byte
inline constexpr int kFrameCount = 12;  // 4 bytes
inline constexpr int kOrder = 38;       // 2 bytes

struct RawFile {
    struct Field {
        int offset, size;
        std::int32_t value;
    };
    std::vector<Field> fields;  // later fields of the same offset win
    std::vector<std::int16_t> values;

    RawFile& set(int offset, int size, std::int32_t value) {
        fields.push_back({offset, size, value});
        return *this;
    }
    // The file: a header of `header` bytes (kSampleHeader or kFilterHeader), then the values.
    std::string bytes(int header) const {
        const auto start = static_cast<std::size_t>(header);
        std::string b(start + 2 * values.size(), '\0');
        for (const Field& f : fields)
            std::memcpy(&b[static_cast<std::size_t>(f.offset)], &f.value,
                        static_cast<std::size_t>(f.size));
        if (!values.empty()) std::memcpy(&b[start], values.data(), 2 * values.size());
        return b;
    }
};

// A Base/Top file: version 10, root key 60, no fine tuning, playing from frame 0, looped over
// loopStart..loopEnd.
inline RawFile sampleFile(std::vector<std::int16_t> samples, std::int32_t loopStart,
                          std::int32_t loopEnd) {
    RawFile file{{}, std::move(samples)};
    return file.set(kVersion, 1, 10)
        .set(kRootKey, 1, 60)
        .set(kFineTune, 1, 50)
        .set(kLoopStart, 4, loopStart)
        .set(kLoopEnd, 4, loopEnd);
}

// A Filter file of the given frame count and order with gain 50, over 64 values per frame.
inline RawFile filterFile(std::vector<std::int16_t> values, std::int32_t frames,
                          std::int16_t order = 10) {
    RawFile file{{}, std::move(values)};
    return file.set(kGain, 1, 50).set(kFrameCount, 4, frames).set(kOrder, 2, order);
}

}  // namespace rawfiles
