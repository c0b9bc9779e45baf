// Measured features of an instrument, the columns of the property matrix that the palette's
// "similar", "most different" and "category" commands search:
//   0 brightness (spectral centroid of the filtered sound), 1 noisiness (spectral flatness),
//   2 harmonicity (energy on the harmonics), 3 attack time, 4 decay (head peak against loop),
//   5 resonance (peak height of the opened filter), 6 category number (1..10),
//   7 filter movement (opened against settled), 8 loop movement, 9 low-frequency weight.
// Every column but the category lies in 0..1.
#pragma once

#include <array>
#include <vector>

#include "Excitation.h"
#include "FilterTable.h"

namespace makelib {

inline constexpr int kFeatureCount = 10;
inline constexpr int kCategoryColumn = 6;
using Features = std::array<double, kFeatureCount>;

// Power spectrum (|X|^2 of a Hann-windowed radix-2 transform) of the first 2^n samples; n is the
// largest that fits, at most 14.
std::vector<double> powerSpectrumOf(const std::vector<double>& signal);

// The filter's power response |G / A|^2 in dB at `points` frequencies from 0 to Nyquist.
std::vector<double> filterResponseDb(const FilterFrame& frame, int points);

// A sample's loop repeated to `length` samples; for a kit (silent loop) its hits instead.
std::vector<double> representativeSignal(const SampleData& sample, int length);

// base and top of one representative zone; fundamental in Hz (0 for unpitched material).
Features measureFeatures(const SampleData& base, const SampleData& top,
                         const std::vector<FilterFrame>& frames, double fundamental, int category);

}  // namespace makelib
