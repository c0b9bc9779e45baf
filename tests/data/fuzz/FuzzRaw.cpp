// Raw sample and filter files over arbitrary bytes: a file that passes the checks must let a
// reader touch every position its header allows without leaving the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "data/PResource.h"

namespace {

volatile int sink;

void touchSamples(const std::vector<std::uint8_t>& file) {
    std::int32_t loopEnd;
    std::int16_t startFrame;
    std::int32_t loopStart;
    std::memcpy(&loopEnd, file.data() + 12, 4);
    std::memcpy(&loopStart, file.data() + 8, 4);
    std::memcpy(&startFrame, file.data() + 4, 2);
    if (loopStart < 0 || loopStart > loopEnd || startFrame < 0 || startFrame > loopEnd)
        std::abort();
    // Positions up to the loop end, plus the interpolation window.
    for (std::int32_t k = 0; k < loopEnd + PResource::kSampleTail; ++k) {
        std::int16_t sample;
        std::memcpy(&sample,
                    file.data() + PResource::kSampleHeader + 2 * static_cast<std::size_t>(k), 2);
        sink = sample;
    }
}

void touchFilter(const std::vector<std::uint8_t>& file) {
    std::int32_t frames;
    std::int16_t order;
    std::memcpy(&frames, file.data() + 12, 4);
    std::memcpy(&order, file.data() + 38, 2);
    if (frames < 1 || order < 1 || order > PResource::kMaxOrder) std::abort();
    const std::uint8_t* last = file.data() + PResource::kFilterHeader +
                               PResource::kFrameBytes * static_cast<std::size_t>(frames - 1);
    sink = last[PResource::kFrameBytes - 1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so that any read beyond the file is caught.
    std::vector<std::uint8_t> samples(data, data + size);
    if (PResource::validateSamples(samples.data(), static_cast<std::uint32_t>(size)))
        touchSamples(samples);
    std::vector<std::uint8_t> filter(data, data + size);
    if (PResource::validateFilter(filter.data(), static_cast<std::uint32_t>(size)))
        touchFilter(filter);
    return 0;
}
