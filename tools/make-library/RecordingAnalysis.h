// An instrument zone made from a recording: the Filter frames follow the recording's spectral
// envelope from its attack into its sustain loop, and the Base excitation is the recording with
// that envelope taken out (the residual of the same frames' inverse filters), looped at the
// recording's own loop. Played through its own frames the Base gives the recording back; through
// another instrument's frames it takes on that instrument's envelope.
//
// The first third of the frames is spread over the head (frame 0 at the attack), the others hold
// the loop's long-term envelope, so a Filter envelope that settles anywhere in the last two
// thirds plays the sustain exactly as recorded.
#pragma once

#include <vector>

#include "Excitation.h"
#include "FilterTable.h"
#include "Resample.h"
#include "SoundFont.h"
#include "SoundFontZones.h"

namespace makelib {

// A zone's recording at the storage rate, resampled so that it sounds at a whole key; what the
// resampling could not reach (a loop is a whole number of samples) is left to the fine tuning.
struct Recording {
    LoopedSignal signal;  // full scale 1.0
    int rootKey = 60;
    int fineTune = 50;
};

// Stereo pairs are mixed to one channel; the loop's mean is taken out of the whole recording.
// Heads longer than maxHeadSeconds are shortened: their end is cross-faded into the stretch just
// before the loop. Nothing above bandLimitHz is kept. The zone must be looped.
Recording loadRecording(const SoundFont& font, const RecordedZone& zone, double maxHeadSeconds,
                        double bandLimitHz);

struct RecordingAnalysis {
    SampleData base;
    std::vector<FilterFrame> frames;
    double latticeRms = 0.0;  // loudest 400 ms of the resynthesis, in the kernel's units
};

// `level` is the RMS the Base samples are normalised to (see toSamples).
RecordingAnalysis analyseRecording(const Recording& recording, int frameCount, double level);
int headFrameCount(int frameCount);

// Power spectrum (1024 bins) of the recording around `centre`, averaged over a few Hann windows;
// positions past the loop end read the loop again.
std::vector<double> localSpectrum(const LoopedSignal& signal, int centre);
// The long-term power spectrum of the loop.
std::vector<double> loopSpectrum(const LoopedSignal& signal);

}  // namespace makelib
