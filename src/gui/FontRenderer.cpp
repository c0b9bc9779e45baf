#include "gui/FontRenderer.h"

#include <cmath>

#include "gui/EmbeddedResources.h"
#include "gui/GuiTypes.h"

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace {
constexpr int kPixelSizes[kFontCount] = {12, 18, 14, 12, 11, 10, 9, 13};
}

struct FontRenderer::Face {
    stbtt_fontinfo info{};
};

struct FontRenderer::Size {
    float scale = 0;
    int ascent = 0;
    int descent = 0;
    std::array<std::unique_ptr<FontGlyph>, 256> glyphs;
};

FontRenderer& FontRenderer::instance() {
    static FontRenderer renderer;
    return renderer;
}

int FontRenderer::pixelSize(int font) {
    return (font >= 0 && font < kFontCount) ? kPixelSizes[font] : kPixelSizes[kNormalFont];
}

FontRenderer::FontRenderer() : face_(std::make_unique<Face>()) {
    EmbeddedData data = embeddedFont();
    valid_ = data.bytes && stbtt_InitFont(&face_->info, data.bytes,
                                          stbtt_GetFontOffsetForIndex(data.bytes, 0)) != 0;
}

FontRenderer::~FontRenderer() = default;

FontRenderer::Size& FontRenderer::size(int font) {
    if (font < 0 || font >= kFontCount) font = kNormalFont;
    std::unique_ptr<Size>& s = sizes_[std::size_t(font)];
    if (!s) {
        s = std::make_unique<Size>();
        if (valid_) {
            s->scale = stbtt_ScaleForMappingEmToPixels(&face_->info, float(pixelSize(font)));
            int ascent = 0, descent = 0, gap = 0;
            stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
            s->ascent = int(std::ceil(float(ascent) * s->scale));
            s->descent = int(std::ceil(float(-descent) * s->scale));
        }
    }
    return *s;
}

int FontRenderer::ascent(int font) {
    return size(font).ascent;
}
int FontRenderer::descent(int font) {
    return size(font).descent;
}

const FontGlyph& FontRenderer::glyph(int font, unsigned char c) {
    Size& s = size(font);
    std::unique_ptr<FontGlyph>& g = s.glyphs[c];
    if (!g) {
        g = std::make_unique<FontGlyph>();
        if (valid_) {
            int index = stbtt_FindGlyphIndex(&face_->info, c);
            int advance = 0, bearing = 0;
            stbtt_GetGlyphHMetrics(&face_->info, index, &advance, &bearing);
            g->advance = float(advance) * s.scale;
            int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            stbtt_GetGlyphBitmapBox(&face_->info, index, s.scale, s.scale, &x0, &y0, &x1, &y1);
            if (x1 > x0 && y1 > y0) {
                g->width = x1 - x0;
                g->height = y1 - y0;
                g->left = x0;
                g->top = y0;
                g->coverage.resize(std::size_t(g->width) * std::size_t(g->height));
                stbtt_MakeGlyphBitmap(&face_->info, g->coverage.data(), g->width, g->height,
                                      g->width, s.scale, s.scale, index);
            }
        }
    }
    return *g;
}

int FontRenderer::textWidth(int font, const char* text, int length) {
    if (!text) return 0;
    float width = 0;
    for (int i = 0; (length < 0 || i < length) && text[i]; ++i) {
        width += glyph(font, static_cast<unsigned char>(text[i])).advance;
    }
    return int(std::ceil(width));
}

int FontRenderer::alignedLeft(int width, int left, int right, int align) {
    if (align == kCenterText) return left + (right - left - width) / 2;
    if (align == kRightText) return right - width;
    return left;
}
