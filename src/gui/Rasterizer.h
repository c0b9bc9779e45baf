// Scan conversion for the drawing context: filled polygons (even-odd, with optional
// anti-aliasing by sub-scanlines and exact horizontal coverage), thin and wide lines, and
// 4-connected flood fill. All coordinates are in buffer pixels; pixel (x, y) covers the square
// [x, x+1) x [y, y+1).
#pragma once

#include <vector>

#include "gui/PixelBuffer.h"

struct PointF {
    float x = 0;
    float y = 0;
};

namespace raster {

void fillPolygon(const PixelBuffer& buffer, const std::vector<PointF>& points, std::uint32_t color,
                 bool antialias);
// A line between two pixels, both ends included. Width 1 without anti-aliasing sets exactly the
// pixels of the classic integer line walk; otherwise the line is a filled band with square caps.
void drawLine(const PixelBuffer& buffer, CPoint a, CPoint b, int width, std::uint32_t color,
              bool antialias);
// The points of the ellipse inscribed in the pixel rectangle, through the centres of its
// outermost pixels (for outlines) or along its edge (for fills).
std::vector<PointF> ellipsePoints(const CRect& rect, bool throughPixelCentres);
// Replaces the 4-connected region of the colour at `start` with `color`.
void floodFill(const PixelBuffer& buffer, CPoint start, std::uint32_t color);

}  // namespace raster
