// Spectral envelopes described by a handful of musical parameters: resonance peaks (formants,
// body modes) on a floor, a spectral tilt and a smooth high cut. They are sampled as power spectra
// for the linear-prediction analysis that turns them into lattice filter frames.
#pragma once

#include <vector>

namespace makelib {

struct Resonance {
    double frequency = 1000.0;  // Hz
    double bandwidth = 100.0;   // Hz, full width at half power
    double gainDb = 0.0;        // peak height above the floor
};

struct EnvelopeShape {
    std::vector<Resonance> resonances;
    double tiltDbPerOctave = 0.0;  // slope above 200 Hz
    double cutoff = 20000.0;       // Hz, where a fourth-order high cut begins
};

// The shape between a and b at t (0 gives a, 1 gives b): frequencies, bandwidths and the cutoff
// move geometrically, gains and tilt linearly. Resonances pair by index; extra ones fade in or out.
EnvelopeShape blendShapes(const EnvelopeShape& a, const EnvelopeShape& b, double t);

// Every frequency of the shape multiplied by factor (for register-dependent bodies).
EnvelopeShape scaleFrequencies(const EnvelopeShape& shape, double factor);

// The power spectrum at `bins` band centres from 0 to sampleRate / 2, at most 50 dB below its
// peak, normalised to mean 1.
std::vector<double> powerSpectrum(const EnvelopeShape& shape, double sampleRate, int bins);

// The spectrum raised to `exponent` (above 1 sharpens the peaks, below 1 flattens them), again
// normalised to mean 1.
std::vector<double> reshape(const std::vector<double>& power, double exponent);

}  // namespace makelib
