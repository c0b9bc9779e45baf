// Layer LFO shapes: the shape codes a preset stores, the 16-step patterns drawn on the LFO page,
// and the 4096-point wave tables (one cycle, values -0.5..+0.5) that the voices read.
//
// A table is rebuilt in place while voices may be reading it; every entry is written and read
// with a relaxed atomic access (see RelaxedFloat.h), so a reader sees each entry either old or new.
#pragma once

#include <cstdint>

// Four-character codes, first character in the most significant byte. 0 is a drawn pattern.
inline constexpr uint32_t kShapePattern = 0;
inline constexpr uint32_t kShapeSine = 0x53696E65;  // "Sine"
inline constexpr uint32_t kShapeRect = 0x52656374;  // "Rect"
inline constexpr uint32_t kShapeSaw1 = 0x53617731;  // "Saw1"
inline constexpr uint32_t kShapeSaw2 = 0x53617732;  // "Saw2"
inline constexpr uint32_t kShapeRand = 0x52616E64;  // "Rand"

inline constexpr int32_t kLfoSteps = 16;
inline constexpr int32_t kLfoStepMax = 15;
inline constexpr int32_t kLayerTableSize = 4096;

// Fills a 16-step pattern (levels 0..15) from a shape code: "Rand" draws new random levels;
// an unknown code leaves the steps unchanged.
void lfoStepsFromShape(uint32_t shapeCode, uint8_t steps[kLfoSteps]);

// Fills a layer table with the mathematical shape of Sine, Rect, Saw1 or Saw2; any other code
// leaves the table unchanged. Answers whether it wrote the table.
bool buildShapeTable(uint32_t shapeCode, float* table);

// Fills a layer table for a preset's shape: the mathematical shape, or for a drawn pattern and
// "Rand" the steps joined by straight lines (levels above 15 count as 15).
void buildLayerTable(uint32_t shapeCode, float* table, const uint8_t steps[kLfoSteps]);
