#include "gui/CDrawContext.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/FontRenderer.h"
#include "gui/Rasterizer.h"
#include "platform/Platform.h"

CDrawContext::CDrawContext(CFrame* frame, CBitmap* target) : frame_(frame), target_(target) {
    if (target_) target_->remember();
    resetClipRect();
}

CDrawContext::~CDrawContext() {
    if (target_) target_->forget();
}

void CDrawContext::setFont(int font, int, int style) {
    font_ = (font >= 0 && font < kFontCount) ? font : kNormalFont;
    fontStyle_ = style;
}

PixelBuffer CDrawContext::buffer() const {
    PixelBuffer b;
    if (target_ && target_->isLoaded()) {
        b.pixels = target_->pixels();
        b.width = target_->getWidth();
        b.height = target_->getHeight();
        b.clip = clip_;
    }
    return b;
}

void CDrawContext::setClipRect(const CRect& clip) {
    CRect pixels = clip;
    pixels.offset(offset_.h, offset_.v);
    CRect whole(0, 0, target_ ? target_->getWidth() : 0, target_ ? target_->getHeight() : 0);
    clip_ = pixels.bound(whole);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
    clip = clip_;
    clip.offset(-offset_.h, -offset_.v);
    return clip;
}

void CDrawContext::resetClipRect() {
    clip_ = CRect(0, 0, target_ ? target_->getWidth() : 0, target_ ? target_->getHeight() : 0);
}

void CDrawContext::lineTo(const CPoint& point) {
    drawLine(pen_, point);
    pen_ = point;
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to) {
    CPoint a = from, b = to;
    a.offset(offset_.h, offset_.v);
    b.offset(offset_.h, offset_.v);
    raster::drawLine(buffer(), a, b, lineWidth_, frameColor_.pixel(), drawMode_ == kAntialias);
}

void CDrawContext::drawPolyline(const CPoint* points, int count) {
    for (int i = 0; points && i + 1 < count; ++i) drawLine(points[i], points[i + 1]);
}

void CDrawContext::fillRect(const CRect& rect) {
    CRect r = rect;
    r.offset(offset_.h, offset_.v).bound(clip_);
    PixelBuffer b = buffer();
    if (!b.pixels) return;
    std::uint32_t color = fillColor_.pixel();
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = b.row(y);
        for (int x = r.left; x < r.right; ++x) blendPixel(row[x], color, 255);
    }
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style) {
    if (style != kDrawStroked) fillRect(rect);
    if (style == kDrawFilled || rect.isEmpty()) return;
    // The outline lies inside the rectangle, lineWidth pixels thick.
    CColor fill = fillColor_;
    fillColor_ = frameColor_;
    int w = std::min({lineWidth_, rect.width(), rect.height()});
    fillRect(CRect(rect.left, rect.top, rect.right, rect.top + w));
    fillRect(CRect(rect.left, rect.bottom - w, rect.right, rect.bottom));
    fillRect(CRect(rect.left, rect.top + w, rect.left + w, rect.bottom - w));
    fillRect(CRect(rect.right - w, rect.top + w, rect.right, rect.bottom - w));
    fillColor_ = fill;
}

void CDrawContext::drawEllipse(const CRect& rect, CDrawStyle style) {
    if (rect.isEmpty()) return;
    CRect r = rect;
    r.offset(offset_.h, offset_.v);
    bool aa = drawMode_ == kAntialias;
    PixelBuffer b = buffer();
    if (!b.pixels) return;
    if (style != kDrawStroked) {
        raster::fillPolygon(b, raster::ellipsePoints(r, false), fillColor_.pixel(), aa);
    }
    if (style == kDrawFilled) return;
    std::vector<PointF> outline = raster::ellipsePoints(r, true);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const PointF& p = outline[i];
        const PointF& q = outline[(i + 1) % outline.size()];
        auto pixel = [](const PointF& f) {
            return CPoint(int(std::floor(f.x)), int(std::floor(f.y)));
        };
        raster::drawLine(b, pixel(p), pixel(q), lineWidth_, frameColor_.pixel(), aa);
    }
}

void CDrawContext::drawPolygon(const CPoint* points, int count, CDrawStyle style) {
    if (!points || count < 2) return;
    if (style != kDrawStroked && count >= 3) {
        // Vertices are pixel positions; the filled area runs through their centres.
        std::vector<PointF> shape(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            shape[std::size_t(i)] = {float(points[i].h + offset_.h) + 0.5f,
                                     float(points[i].v + offset_.v) + 0.5f};
        }
        raster::fillPolygon(buffer(), shape, fillColor_.pixel(), drawMode_ == kAntialias);
    }
    if (style == kDrawFilled) return;
    drawPolyline(points, count);
    drawLine(points[count - 1], points[0]);
}

void CDrawContext::floodFill(const CPoint& start) {
    raster::floodFill(buffer(), CPoint(start.h + offset_.h, start.v + offset_.v),
                      fillColor_.pixel());
}

void CDrawContext::drawPoint(const CPoint& point, const CColor& color) {
    PixelBuffer b = buffer();
    int x = point.h + offset_.h, y = point.v + offset_.v;
    if (b.pixels && b.inClip(x, y)) blendPixel(b.row(y)[x], color.pixel(), 255);
}

CColor CDrawContext::getPoint(const CPoint& point) const {
    return target_ ? target_->getPixel(point.h + offset_.h, point.v + offset_.v)
                   : kTransparentCColor;
}

int CDrawContext::getStringWidth(const char* text) const {
    return FontRenderer::instance().textWidth(font_, text);
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque,
                              CHoriTxtAlign align) {
    if (opaque) fillRect(rect);
    if (!text || !*text) return;
    FontRenderer& fonts = FontRenderer::instance();
    CRect r = rect;
    r.offset(offset_.h, offset_.v);
    PixelBuffer b = buffer();
    if (!b.pixels) return;
    b.clip.bound(r);
    if (b.clip.isEmpty()) return;
    int width = fonts.textWidth(font_, text);
    int ascent = fonts.ascent(font_), descent = fonts.descent(font_);
    int baseline = r.top + (r.height() + ascent - descent) / 2;
    int x = FontRenderer::alignedLeft(width, r.left, r.right, align);
    std::uint32_t color = fontColor_.pixel();
    // Italic: each row moves right by a fifth of its height above the baseline.
    const float slant = (fontStyle_ & kItalicFace) ? 0.2f : 0.0f;
    float pen = float(x);
    for (const char* c = text; *c; ++c) {
        const FontGlyph& g = fonts.glyph(font_, static_cast<unsigned char>(*c));
        int gx = int(std::lround(pen)) + g.left, gy = baseline + g.top;
        for (int j = 0; j < g.height; ++j) {
            int y = gy + j;
            if (y < b.clip.top || y >= b.clip.bottom) continue;
            std::uint32_t* row = b.row(y);
            const std::uint8_t* cov = g.coverage.data() + std::size_t(j) * std::size_t(g.width);
            const int shift = int(std::lround(slant * float(baseline - y)));
            for (int i = 0; i < g.width; ++i) {
                int px = gx + i + shift;
                if (cov[i] && px >= b.clip.left && px < b.clip.right)
                    blendPixel(row[px], color, cov[i]);
            }
        }
        pen += g.advance;
    }
}

void CDrawContext::drawImage(const CBitmap& image, const CRect& dest, const CPoint& offset,
                             ImageMode mode, std::uint8_t alpha) {
    PixelBuffer b = buffer();
    if (!b.pixels || !image.isLoaded() || alpha == 0) return;
    CRect d = dest;
    d.offset(offset_.h, offset_.v);
    // The destination rectangle, limited to the clip and to the part the image can fill.
    CRect source(d.left - offset.h, d.top - offset.v, d.left - offset.h + image.getWidth(),
                 d.top - offset.v + image.getHeight());
    d.bound(b.clip).bound(source);
    if (d.isEmpty()) return;
    const std::uint32_t* src = image.pixels();
    const int sw = image.getWidth();
    const int dx = offset.h - (dest.left + offset_.h), dy = offset.v - (dest.top + offset_.v);
    for (int y = d.top; y < d.bottom; ++y) {
        std::uint32_t* row = b.row(y);
        const int sy = y + dy;
        const std::uint32_t* srow = src + std::size_t(sy) * std::size_t(sw);
        if (mode == kCopy && alpha == 255) {
            std::memcpy(row + d.left, srow + d.left + dx, std::size_t(d.width()) * 4);
            continue;
        }
        for (int x = d.left; x < d.right; ++x) {
            const int sx = x + dx;
            std::uint32_t p = srow[sx];
            if (mode == kSkipTransparent) {
                if (!image.isTransparentAt(sx, sy)) row[x] = p | 0xFF000000u;
            } else {
                unsigned a = mode == kCopy ? 255u : (p >> 24);
                blendPixel(row[x], (p & 0xFFFFFFu) | 0xFF000000u, a * alpha / 255u);
            }
        }
    }
}

long CDrawContext::getMouseButtons() {
    return frame_ ? frame_->getCurrentMouseButtons() : 0;
}

CPoint& CDrawContext::getMouseLocation(CPoint& point) {
    point = frame_ ? frame_->getCurrentMouseLocation() : CPoint();
    point.offset(-offset_.h, -offset_.v);
    return point;
}

namespace {
bool near(const CPoint& a, const CPoint& b) {
    return std::abs(a.h - b.h) <= CDrawContext::kDragDistance &&
           std::abs(a.v - b.v) <= CDrawContext::kDragDistance;
}
}  // namespace

bool CDrawContext::detectDrag(const CPoint& where) {
    while (frame_ && (getMouseButtons() & kLButton)) {
        CPoint now;
        if (!near(getMouseLocation(now), where)) return true;
        if (!frame_->doIdleStuff()) break;
    }
    return false;
}

bool CDrawContext::waitDoubleClick(const CPoint& where) {
    const std::uint32_t start = platform::tickCount();
    while (frame_ && platform::tickCount() - start < kDoubleClickMs) {
        CPoint now;
        if (getMouseButtons() & kLButton) return near(getMouseLocation(now), where);
        if (!frame_->doIdleStuff()) break;
    }
    return false;
}
