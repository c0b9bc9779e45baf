// Band-limited resampling of a recording whose sustain loop must stay seamless. The loop is
// treated as repeating for ever: reading past its end continues at its start, so the resampled
// loop is itself an exact repetition when its length comes out a whole number of samples, which
// the step is adjusted for.
#pragma once

#include <vector>

namespace makelib {

struct LoopedSignal {
    std::vector<double> samples;  // the head followed by one pass of the loop
    int loopStart = 0;
    int loopEnd = 0;  // == samples.size()
};

// `step` is how many input samples one output sample advances (above 1 reads faster: the pitch
// rises). Content above `cutoff` (a fraction of the output's Nyquist frequency, at most 0.92) is
// filtered out. *actualStep receives the step used, which makes the loop a whole number of
// output samples.
LoopedSignal resampleLooped(const LoopedSignal& input, double step, double cutoff,
                            double* actualStep);

}  // namespace makelib
