// Windowed-sinc (Blackman) low-pass filtering, used to band-limit noise to a zone's frequency
// range.
#pragma once

#include <vector>

namespace makelib {

// The signal filtered with a linear-phase low-pass whose stop band starts at stopHz (at least
// 70 dB down from there on); the delay of the filter is removed, so output i lines up with input i.
std::vector<double> lowpass(const std::vector<double>& signal, double stopHz, double sampleRate);

}  // namespace makelib
