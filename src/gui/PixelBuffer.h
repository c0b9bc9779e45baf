// A view of 32-bit 0xAARRGGBB pixels with a clipping rectangle, and the blending rule every
// drawing operation shares.
#pragma once

#include <cstdint>

#include "gui/GuiTypes.h"

struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    CRect clip;  // in pixels; always inside the buffer

    std::uint32_t* row(int y) const { return pixels + std::size_t(y) * std::size_t(width); }
    bool inClip(int x, int y) const {
        return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
    }
};

// Blends `color` over `dst` with coverage 0..255 (scaled by the colour's own alpha). The result
// stays opaque where the destination was opaque.
inline void blendPixel(std::uint32_t& dst, std::uint32_t color, unsigned coverage) {
    unsigned a = ((color >> 24) * coverage + 127) / 255;
    if (a == 0) return;
    if (a >= 255) {
        dst = color | 0xFF000000u;
        return;
    }
    unsigned inv = 255 - a;
    auto mix = [&](int shift) {
        unsigned s = (color >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        return ((s * a + d * inv + 127) / 255) << shift;
    };
    unsigned da = dst >> 24;
    unsigned outA = a + (da * inv + 127) / 255;
    dst = (outA << 24) | mix(16) | mix(8) | mix(0);
}
