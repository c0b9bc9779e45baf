// Byte images of the raw resources: sample files (16-byte header, 16-bit samples) and filter
// files (64-byte header, 128-byte coefficient frames). All values little-endian.
#pragma once

#include <cstdint>
#include <vector>

#include "Excitation.h"
#include "FilterTable.h"

namespace makelib {

inline constexpr std::uint8_t kSampleFormatVersion = 10;
inline constexpr int kSampleHeaderSize = 16;
inline constexpr int kFilterHeaderSize = 64;

std::vector<std::uint8_t> sampleFileBytes(const SampleData& sample);
std::vector<std::uint8_t> filterFileBytes(std::uint8_t gain,
                                          const std::vector<FilterFrame>& frames);

}  // namespace makelib
