// The envelope segment shape of the sample-layer voice and the time conversions the envelope
// editor shows. All three read the shared decay table (decay[i] = 0.93^i, decay[255] = 0).
#pragma once

// A value falling from 1 towards 0 over one envelope segment. rate 0..1 (clamped) sets the
// segment's length, timeFrames the frames since the segment began, bend 0..1 the shape: 0 the
// exponential fall 0.93^n, 0.5 a straight line, 1 the mirrored curve 1 - 0.93^(255 - n).
// rateFactor = sample period * 16800 (0.381 at 44100 Hz).
float envelopeCurve(const float* decay, float rateFactor, float rate, float timeFrames, float bend);

// The time in ms the editor shows for an envelope rate parameter x (0..1).
float envelopeTimeMs(const float* decay, float x);
// The rate parameter whose time is the first at or above ms, in steps of 0.01; 1.0 when none is.
float envelopeParamFromMs(const float* decay, float ms);
