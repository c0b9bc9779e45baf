#include "gui/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace raster {
namespace {

constexpr int kSubScanlines = 4;

// Adds the coverage of the span [x0, x1) on one sub-scanline to the row accumulator, in units
// where a fully covered pixel on all sub-scanlines sums to 255 * kSubScanlines.
void addSpan(std::vector<float>& acc, int left, float x0, float x1) {
    int width = int(acc.size());
    x0 = std::max(x0, float(left));
    x1 = std::min(x1, float(left + width));
    if (x1 <= x0) return;
    int i0 = int(std::floor(x0)), i1 = int(std::floor(x1));
    if (i0 == i1) {
        acc[std::size_t(i0 - left)] += (x1 - x0) * 255.f;
        return;
    }
    acc[std::size_t(i0 - left)] += (float(i0 + 1) - x0) * 255.f;
    for (int i = i0 + 1; i < i1; ++i) acc[std::size_t(i - left)] += 255.f;
    if (i1 - left < width) acc[std::size_t(i1 - left)] += (x1 - float(i1)) * 255.f;
}

// X positions where the horizontal line at `y` crosses the polygon's edges, sorted.
void crossings(const std::vector<PointF>& p, float y, std::vector<float>& xs) {
    xs.clear();
    std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PointF& a = p[i];
        const PointF& b = p[(i + 1) % n];
        if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y)) {
            xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
    }
    std::sort(xs.begin(), xs.end());
}

}  // namespace

void fillPolygon(const PixelBuffer& buffer, const std::vector<PointF>& points, std::uint32_t color,
                 bool antialias) {
    if (points.size() < 3 || buffer.clip.isEmpty()) return;
    float minY = points[0].y, maxY = points[0].y;
    for (const PointF& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    int y0 = std::max(buffer.clip.top, int(std::floor(minY)));
    int y1 = std::min(buffer.clip.bottom, int(std::ceil(maxY)) + 1);
    int left = buffer.clip.left;
    std::vector<float> acc(std::size_t(buffer.clip.width()));
    std::vector<float> xs;
    int samples = antialias ? kSubScanlines : 1;
    for (int y = y0; y < y1; ++y) {
        std::fill(acc.begin(), acc.end(), 0.f);
        bool any = false;
        for (int s = 0; s < samples; ++s) {
            float sy = float(y) + (float(s) + 0.5f) / float(samples);
            crossings(points, sy, xs);
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                if (antialias) {
                    addSpan(acc, left, xs[i], xs[i + 1]);
                } else {
                    // A pixel belongs to the span when its centre does.
                    float a = std::ceil(xs[i] - 0.5f), b = std::ceil(xs[i + 1] - 0.5f);
                    addSpan(acc, left, a, b);
                }
                any = true;
            }
        }
        if (!any) continue;
        std::uint32_t* row = buffer.row(y);
        for (std::size_t i = 0; i < acc.size(); ++i) {
            unsigned coverage = unsigned(std::lround(acc[i] / float(samples)));
            if (coverage) blendPixel(row[left + int(i)], color, std::min(coverage, 255u));
        }
    }
}

void drawLine(const PixelBuffer& buffer, CPoint a, CPoint b, int width, std::uint32_t color,
              bool antialias) {
    if (width <= 1 && !antialias) {
        int dx = std::abs(b.h - a.h), dy = -std::abs(b.v - a.v);
        int sx = a.h < b.h ? 1 : -1, sy = a.v < b.v ? 1 : -1;
        int err = dx + dy;
        for (int x = a.h, y = a.v;;) {
            if (buffer.inClip(x, y)) blendPixel(buffer.row(y)[x], color, 255);
            if (x == b.h && y == b.v) break;
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
        return;
    }
    float half = float(std::max(width, 1)) / 2.f;
    float ax = float(a.h) + 0.5f, ay = float(a.v) + 0.5f;
    float bx = float(b.h) + 0.5f, by = float(b.v) + 0.5f;
    float dx = bx - ax, dy = by - ay;
    float length = std::sqrt(dx * dx + dy * dy);
    float ux = length > 0 ? dx / length : 1.f, uy = length > 0 ? dy / length : 0.f;
    // Extend both ends by half the width (square caps) and offset sideways by half the width.
    float ex = ux * half, ey = uy * half, nx = -uy * half, ny = ux * half;
    std::vector<PointF> band = {{ax - ex + nx, ay - ey + ny},
                                {bx + ex + nx, by + ey + ny},
                                {bx + ex - nx, by + ey - ny},
                                {ax - ex - nx, ay - ey - ny}};
    fillPolygon(buffer, band, color, antialias);
}

std::vector<PointF> ellipsePoints(const CRect& rect, bool throughPixelCentres) {
    float inset = throughPixelCentres ? 0.5f : 0.f;
    float cx = float(rect.left + rect.right) / 2.f, cy = float(rect.top + rect.bottom) / 2.f;
    float rx = std::max(0.f, float(rect.width()) / 2.f - inset);
    float ry = std::max(0.f, float(rect.height()) / 2.f - inset);
    int n = std::clamp(int((rx + ry) * 2.f), 8, 720);
    std::vector<PointF> points(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double angle = 2.0 * std::numbers::pi * i / n;
        points[std::size_t(i)] = {cx + rx * float(std::cos(angle)),
                                  cy + ry * float(std::sin(angle))};
    }
    return points;
}

void floodFill(const PixelBuffer& buffer, CPoint start, std::uint32_t color) {
    if (!buffer.inClip(start.h, start.v)) return;
    const std::uint32_t target = buffer.row(start.v)[start.h];
    const std::uint32_t replacement = color | 0xFF000000u;
    if (target == replacement) return;
    const CRect& c = buffer.clip;
    std::vector<CPoint> stack{start};
    while (!stack.empty()) {
        CPoint p = stack.back();
        stack.pop_back();
        std::uint32_t* row = buffer.row(p.v);
        if (row[p.h] != target) continue;
        int l = p.h, r = p.h;
        while (l > c.left && row[l - 1] == target) --l;
        while (r + 1 < c.right && row[r + 1] == target) ++r;
        for (int x = l; x <= r; ++x) row[x] = replacement;
        for (int ny : {p.v - 1, p.v + 1}) {
            if (ny < c.top || ny >= c.bottom) continue;
            std::uint32_t* next = buffer.row(ny);
            // Push one seed per run of target pixels above and below the filled span.
            for (int x = l; x <= r; ++x) {
                if (next[x] == target && (x == l || next[x - 1] != target))
                    stack.push_back({x, ny});
            }
        }
    }
}

}  // namespace raster
