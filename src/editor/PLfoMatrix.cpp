#include "editor/PLfoMatrix.h"

#include <algorithm>
#include <cmath>

#include "engine/LfoShapes.h"
#include "engine/RelaxedFloat.h"
#include "gui/CDrawContext.h"

namespace {

constexpr int kLineWidth = 2;

// Where cell `index` of `count` begins along `length` pixels.
int edge(int index, int count, int length) {
    return index * length / count;
}

// The cell of `count` over `length` pixels that holds pixel `offset` (kept inside the grid).
int cellOf(int offset, int count, int length) {
    offset = std::clamp(offset, 0, length - 1);
    return ((offset + 1) * count - 1) / length;
}

}  // namespace

PLfoMatrix::PLfoMatrix(const CRect& size, IMatrixDef* def, long id)
    : CMatrix(size, def, id, kSize, kNoOffscreen) {}

void PLfoMatrix::showWave(const float* table) {
    if (table == wave_) return;
    wave_ = table;
    invalid();
}

void PLfoMatrix::setWaveColors(const CColor& line, const CColor& back) {
    lineColor_ = line;
    waveBack_ = back;
    invalid();
}

CRect PLfoMatrix::cellRect(int row, int column) const {
    const int w = getWidth(), h = getHeight();
    return CRect(edge(column, kSize, w), edge(row, kSize, h), edge(column + 1, kSize, w),
                 edge(row + 1, kSize, h));
}

bool PLfoMatrix::cellAt(const CPoint& where, int& row, int& column) const {
    if (getWidth() <= 0 || getHeight() <= 0 || rowCount() != kSize || columnCount() != kSize)
        return false;
    row = cellOf(where.v - size.top, kSize, getHeight());
    column = cellOf(where.h - size.left, kSize, getWidth());
    return true;
}

void PLfoMatrix::drawGridLines(CDrawContext* context, const CPoint& origin) {
    context->setFrameColor(gridColor());
    const int w = getWidth(), h = getHeight();
    for (int k = 1; k < kSize; ++k) {
        const int y = origin.v + edge(k, kSize, h);
        const int x = origin.h + edge(k, kSize, w);
        context->drawLine(CPoint(origin.h, y), CPoint(origin.h + w - 1, y));
        context->drawLine(CPoint(x, origin.v), CPoint(x, origin.v + h - 1));
    }
}

void PLfoMatrix::draw(CDrawContext* context) {
    if (!wave_) return CMatrix::draw(context);
    drawWave(context);
    setDirty(false);
}

void PLfoMatrix::drawWave(CDrawContext* context) {
    context->setFillColor(waveBack_);
    context->fillRect(size);
    drawGridLines(context, size.topLeft());

    // One point per pixel column; the line keeps inside the grid at the table's extremes. The
    // table is read as the voices read it (the page rebuilds it while they play).
    const int w = getWidth();
    const int centre = size.top + getHeight() / 2;
    const float amplitude = float(getHeight() / 2 - kLineWidth);
    CPoint points[1024];
    const int count = std::min(w, int(std::size(points)));
    for (int x = 0; x < count; ++x) {
        const float value = std::clamp(loadRelaxed(wave_[x * kLayerTableSize / w]), -0.5f, 0.5f);
        points[x] = CPoint(size.left + x, centre - int(std::trunc(2.0f * amplitude * value)));
    }
    context->setFrameColor(lineColor_);
    context->setLineWidth(kLineWidth);
    context->setDrawMode(kAntialias);
    context->drawPolyline(points, count);
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
}
