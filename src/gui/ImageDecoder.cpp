#include "gui/ImageDecoder.h"

#include <climits>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ASSERT(x)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {
constexpr int kMaxSide = 16384;
}

bool decodeImage(const unsigned char* bytes, std::size_t size, DecodedImage& out) {
    out = {};
    if (!bytes || size == 0 || size > std::size_t(INT_MAX)) return false;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, int(size), &w, &h, &channels)) return false;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
    unsigned char* rgba = stbi_load_from_memory(bytes, int(size), &w, &h, &channels, 4);
    if (!rgba) return false;
    out.width = w;
    out.height = h;
    out.pixels.resize(std::size_t(w) * std::size_t(h));
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const unsigned char* p = rgba + 4 * i;
        out.pixels[i] = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) |
                        (std::uint32_t(p[1]) << 8) | p[2];
        if (p[3] != 255) out.hasAlpha = true;
    }
    stbi_image_free(rgba);
    return true;
}
