// Synthesis of one looped excitation for one key zone.
//
// A sound is a head (attack and the first decay) followed by a loop that the voice repeats while
// the note lasts. Harmonic and inharmonic partials are placed on whole numbers of cycles per loop,
// so the loop repeats with the same level and slope at its seam; noise is made seamless by an
// equal-power cross-fade of the loop's end into the material just before the loop start.
// Every component stays below the zone's band limit, so reading the sample faster (up to the
// zone's highest key) does not fold anything back below the output's Nyquist frequency.
#pragma once

#include <cstdint>
#include <vector>

namespace makelib {

struct Partial {
    double ratio = 1.0;      // frequency relative to the fundamental
    double amplitude = 1.0;  // at the start of the head
    double sustain = 1.0;    // level in the loop relative to the start
};

struct ExcitationRecipe {
    // Harmonic series (used when `partials` is empty): amplitude of harmonic h is
    // h^(slopeDb / 6.02) times `evenLevel` for even h, times |sin(pi h pulseWidth)| when
    // pulseWidth > 0.
    double slopeDb = -6.0;
    double evenLevel = 1.0;
    double pulseWidth = 0.0;
    std::vector<Partial> partials;  // explicit partials instead (bells, organs)
    double tonal = 1.0;             // RMS of the partials in the loop (0: a pure noise source)
    double randomPhase = 1.0;       // 0: all partials start in sine phase; 1: random phases
    double ensemble = 0.0;          // level of neighbours one cycle per loop away (slow beating)

    double noiseLevel = 0.0;  // RMS of the noise relative to the RMS of the partials
    double noiseLowHz = 100.0;
    double noiseHighHz = 20000.0;

    double attackSeconds = 0.005;
    double headSeconds = 0.08;
    double sustain = 1.0;     // loop level relative to the start of the head
    double damping = 0.0;     // extra loop roll-off of harmonic h: h^-damping
    double burstLevel = 0.0;  // an attack noise burst (chiff, hammer, pick), relative level
    double burstSeconds = 0.02;
    double loopSeconds = 0.25;
    std::uint64_t seed = 1;
};

struct ZonePlan {
    int limit = 127;   // highest key
    int rootKey = 60;  // the key whose pitch the sample holds at 44100 samples per second
    double bandLimitHz = 20000.0;
};

// A finished sample resource body. `samples` holds the head, the loop and 16 guard samples that
// repeat the start of the loop, so interpolation across the loop end reads the right values.
struct SampleData {
    std::vector<std::int16_t> samples;
    int loopStart = 0;
    int loopEnd = 0;
    int rootKey = 60;
    int fineTune = 50;  // the pitch ratio is 1 + (fineTune - 50) / 1000
};

inline constexpr double kStorageRate = 44100.0;
inline constexpr int kGuardSamples = 16;

double keyFrequency(double key);

// `level` is the RMS (in 16-bit units) the whole sample is normalised to; peaks are kept below
// 90 % of full scale, which may leave the sample quieter.
SampleData synthesizeExcitation(const ExcitationRecipe& recipe, const ZonePlan& zone, double level);

// Shared by the excitation and the kit: scale to `level` RMS (peaks below 90 % of full scale),
// round to 16 bits. DC is the caller's business. *scale (when given) receives the factor applied.
std::vector<std::int16_t> toSamples(const std::vector<double>& signal, double level,
                                    double* scale = nullptr);

}  // namespace makelib
