// The LFO page's step grid: 16 columns (the steps) by 16 rows (the levels, 15 at the top). Its
// cells share the whole view, the odd pixels spread over the rows and columns, so that the grid
// fills its field. A press reports its cell; while the button is held, a pointer beyond an edge
// counts as the nearest cell there, so that a stroke can be drawn out to the highest or lowest
// level without aiming at the last pixel.
//
// The grid shows the page's cells (IMatrixDef), or while a wave table is set the table as a line
// over the empty grid (a shape given by its formula rather than by steps).
#pragma once

#include "editor/CMatrix.h"

class PLfoMatrix : public CMatrix {
public:
    static constexpr int kSize = 16;

    PLfoMatrix(const CRect& size, IMatrixDef* def, long id);

    // `table` (kLayerTableSize values of -0.5..0.5, not owned) is shown as a line from now on;
    // null shows the cells again.
    void showWave(const float* table);
    const float* wave() const { return wave_; }
    // The line's colour, and the empty grid's colour behind it.
    void setWaveColors(const CColor& line, const CColor& back);

    CRect cellRect(int row, int column) const override;
    bool cellAt(const CPoint& where, int& row, int& column) const override;
    void draw(CDrawContext* context) override;

protected:
    void drawGridLines(CDrawContext* context, const CPoint& origin) override;

private:
    void drawWave(CDrawContext* context);

    const float* wave_ = nullptr;
    CColor lineColor_ = kWhiteCColor;
    CColor waveBack_ = kBlackCColor;
};
