// Lattice coefficient frames for one Filter resource. Each frame holds three sets of 16 values
// (plain, positive emphasis, negative emphasis), each set the order-10 reflection coefficients
// followed by the input gain, all as 16-bit fractions of 32768. The emphasis sets come from the
// same spectral envelope with its peaks sharpened or flattened, so every set is a stable filter.
//
// Frame 0 is the envelope a fully opened Filter envelope selects; the frames after it move
// towards the shape the sound settles to as the Filter envelope decays.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "EnvelopeShape.h"

namespace makelib {

inline constexpr int kFilterOrder = 10;
inline constexpr int kFrameValues = 64;
inline constexpr int kPlainSet = 0;
inline constexpr int kPositiveSet = 16;
inline constexpr int kNegativeSet = 32;
inline constexpr double kSharpenExponent = 1.8;
inline constexpr double kFlattenExponent = 0.5;
inline constexpr double kAnalysisRate = 44100.0;

using FilterFrame = std::array<std::int16_t, kFrameValues>;

// frameCount frames from `opened` (frame 0) to `settled` (last frame).
std::vector<FilterFrame> makeFilterFrames(const EnvelopeShape& opened, const EnvelopeShape& settled,
                                          int frameCount);

// The frame of a measured power spectrum (bins evenly spaced from 0 up to the Nyquist frequency):
// the plain set is its order-10 model; the emphasis sets sharpen or flatten that model's envelope.
FilterFrame filterFrameFromSpectrum(std::vector<double> power);

// The set starting at `set` of a frame as the floats the voice computes (k[0..10]).
std::vector<float> frameCoefficients(const FilterFrame& frame, int set);

}  // namespace makelib
