// Writes the gallery bitmaps as <identifier>.png into the folder given on the command line.
#include <cstdio>
#include <string>

#include "Artwork.h"
#include "PngFile.h"
#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

namespace {

bool writeArtwork(const std::string& folder, int id, const COffscreenContext& context) {
    const CBitmap& bitmap = *context.getBitmap();
    std::string path = folder + "/" + std::to_string(id) + ".png";
    if (!writePng(path.c_str(), bitmap, CRect(0, 0, bitmap.getWidth(), bitmap.getHeight()))) {
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
    bool ok = writeArtwork(folder, artwork::kBackground, *artwork::drawBackground()) &&
              writeArtwork(folder, artwork::kKnobStrip, *artwork::drawKnobStrip()) &&
              writeArtwork(folder, artwork::kOnOff, *artwork::drawButton("OFF", "ON")) &&
              writeArtwork(folder, artwork::kKick, *artwork::drawButton("PUSH", "PUSH")) &&
              writeArtwork(folder, artwork::kSplash, *artwork::drawSplash());
    return ok ? 0 : 1;
}
