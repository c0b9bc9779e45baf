#include "PngFile.h"

#include <cstdint>
#include <vector>

#include "gui/CBitmap.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

bool writePng(const char* path, const CBitmap& bitmap, const CRect& area) {
    CRect r = area;
    r.bound(CRect(0, 0, bitmap.getWidth(), bitmap.getHeight()));
    if (r.isEmpty() || !bitmap.pixels()) return false;
    const int w = r.width(), h = r.height();
    std::vector<unsigned char> rgba(std::size_t(w) * std::size_t(h) * 4);
    unsigned char* out = rgba.data();
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint32_t* row =
            bitmap.pixels() + std::size_t(y) * std::size_t(bitmap.getWidth());
        for (int x = r.left; x < r.right; ++x) {
            *out++ = std::uint8_t(row[x] >> 16);
            *out++ = std::uint8_t(row[x] >> 8);
            *out++ = std::uint8_t(row[x]);
            *out++ = 255;
        }
    }
    return stbi_write_png(path, w, h, 4, rgba.data(), w * 4) != 0;
}
