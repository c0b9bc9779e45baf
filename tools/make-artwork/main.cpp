// Writes the gallery bitmaps as <identifier>.png into the folder given on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "Artwork.h"
#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

bool writePng(const std::string& folder, int id, const COffscreenContext& context) {
    const CBitmap* bitmap = context.getBitmap();
    const int w = bitmap->getWidth(), h = bitmap->getHeight();
    std::vector<unsigned char> rgba(std::size_t(w) * std::size_t(h) * 4);
    const std::uint32_t* pixels = bitmap->pixels();
    for (std::size_t i = 0; i < std::size_t(w) * std::size_t(h); ++i) {
        rgba[4 * i + 0] = std::uint8_t(pixels[i] >> 16);
        rgba[4 * i + 1] = std::uint8_t(pixels[i] >> 8);
        rgba[4 * i + 2] = std::uint8_t(pixels[i]);
        rgba[4 * i + 3] = 255;  // the gallery art is opaque
    }
    std::string path = folder + "/" + std::to_string(id) + ".png";
    if (!stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4)) {
        std::fprintf(stderr, "make-artwork: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-artwork <resources folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = writePng(folder, artwork::kBackground, *artwork::drawBackground()) &&
              writePng(folder, artwork::kKnobStrip, *artwork::drawKnobStrip()) &&
              writePng(folder, artwork::kOnOff, *artwork::drawButton("OFF", "ON")) &&
              writePng(folder, artwork::kKick, *artwork::drawButton("PUSH", "PUSH")) &&
              writePng(folder, artwork::kSplash, *artwork::drawSplash());
    return ok ? 0 : 1;
}
