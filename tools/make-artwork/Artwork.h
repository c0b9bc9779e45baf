// The gallery's bitmaps, drawn from code so that they can be remade at any time.
#pragma once

#include <memory>

class COffscreenContext;

namespace artwork {

// Identifiers of the gallery bitmaps.
inline constexpr int kBackground = 9000;  // 735 × 449
inline constexpr int kKnobStrip = 9001;   // 31 images of 32 × 32, stacked
inline constexpr int kOnOff = 9002;       // 48 × 20, off above on
inline constexpr int kKick = 9003;        // 48 × 20, released above pressed
inline constexpr int kSplash = 9004;      // 300 × 200

inline constexpr int kKnobImages = 31;
inline constexpr int kKnobSize = 32;

std::unique_ptr<COffscreenContext> drawBackground();
std::unique_ptr<COffscreenContext> drawKnobStrip();
std::unique_ptr<COffscreenContext> drawButton(const char* off, const char* on);
std::unique_ptr<COffscreenContext> drawSplash();

}  // namespace artwork
