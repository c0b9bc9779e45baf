#include "engine/EnvelopeCurve.h"

#include "engine/FastMath.h"

float envelopeCurve(const float* decay, float rateFactor, float rate, float timeFrames,
                    float bend) {
    const float b = 1.0f - 2.0f * bend;
    const float r = rate > 0.0f ? (rate < 1.0f ? rate : 1.0f) : 0.0f;
    const float d = decay[roundToEven(r * 100.0f) & 127];
    float x = timeFrames * d * rateFactor * 2.0f;
    if (!(x > 0.0f)) x = 0.0f;
    if (x > 256.0f) x = 256.0f;  // the segment has run out; keeps the rounding in range
    int n = roundToEven(x);
    if (n > 255) n = 255;
    float linear = 1.0f - x / 256.0f;
    if (linear < 0.0f) linear = 0.0f;
    if (b >= 0.0f) return linear * (1.0f - b) + decay[n] * b;
    return (decay[255 - n] - 1.0f) * b + linear * (1.0f + b);
}

float envelopeTimeMs(const float* decay, float x) {
    const float clamped = x > 0.0f ? (x < 1.0f ? x : 1.0f) : 0.0f;
    return 7.59f / decay[roundToEven(clamped * 100.0f) & 127];
}

float envelopeParamFromMs(const float* decay, float ms) {
    // A hair of tolerance, so that the time shown for a rate gives that rate back despite the
    // rounding of the two divisions.
    const float limit = 7.59f / ms * 1.00001f;
    int i = 0;
    while (i < 100 && decay[i] > limit) ++i;
    return static_cast<float>(i) * 0.01f;
}
