// The numbered standard fonts, rasterised from the embedded face with anti-aliasing. Glyphs are
// rendered once per font and kept; texts are 8-bit and read as Latin-1.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct FontGlyph {
    int width = 0;
    int height = 0;
    int left = 0;  // offset of the coverage box from the pen position
    int top = 0;   // offset of the box's top from the baseline (negative: above it)
    float advance = 0;
    std::vector<std::uint8_t> coverage;  // width * height values 0..255
};

class FontRenderer {
public:
    // The process's one renderer (built on first use).
    static FontRenderer& instance();

    // Pixel size of standard font `font` (0..7); other numbers mean the normal font.
    static int pixelSize(int font);

    bool valid() const { return valid_; }
    int ascent(int font);
    int descent(int font);  // positive, below the baseline
    const FontGlyph& glyph(int font, unsigned char c);
    // Width of `text` in pixels (rounded up); `length` < 0 measures up to the terminating NUL.
    int textWidth(int font, const char* text, int length = -1);

    // Left edge of a text `width` pixels wide aligned in `rect`.
    static int alignedLeft(int width, int left, int right, int align);

    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;
    ~FontRenderer();

private:
    FontRenderer();
    struct Face;
    struct Size;
    Size& size(int font);

    bool valid_ = false;
    std::unique_ptr<Face> face_;
    std::array<std::unique_ptr<Size>, 8> sizes_;
};
