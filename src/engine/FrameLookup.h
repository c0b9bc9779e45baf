// Turns a filter position into one set of lattice coefficients by interpolating between the
// coefficient frames of a filter table, optionally blended with one of the frame's emphasis sets.
//
// A frame is 64 int16 values: 0..15 the plain set, 16..31 the set for positive emphasis, 32..47
// the set for negative emphasis, 48..63 unused. Position 0.99 and above reads frame 0; smaller
// positions move through the table towards its last frame.
#pragma once

#include <cstdint>

inline constexpr int kFrameValues = 64;
inline constexpr float kCoefficientFloor = 1e-6f;  // smaller magnitudes become +1e-6

// Writes order + 1 coefficients into destination; with emphasis active at order 10 the SSE2
// path writes 12 (destination needs room for 16 values). `emphasis` is the "Filter Emphasis"
// parameter (0..1, 0.5 = none). `frames` holds `frameCount` >= 1 frames; 1 <= order <= 15.
// "NoMMX" picks the portable or the SSE2 version.
void frameLookup(float* destination, const std::int16_t* frames, int frameCount, int order,
                 float position, float emphasis);

void frameLookupPortable(float* destination, const std::int16_t* frames, int frameCount, int order,
                         float position, float emphasis);
void frameLookupSse2(float* destination, const std::int16_t* frames, int frameCount, int order,
                     float position, float emphasis);
