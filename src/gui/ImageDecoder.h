// Decodes PNG data into 0xAARRGGBB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha = false;  // some pixel is not fully opaque
};

// False (and `out` left empty) for data that is not a readable image or is implausibly large.
bool decodeImage(const unsigned char* bytes, std::size_t size, DecodedImage& out);
