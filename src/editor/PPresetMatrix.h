// The preset page's list: 16 rows of a name cell and a load-marker cell, bulging to the right
// in the middle so that the list's left edge follows the palette beside it. Row r uses the
// shape of row min(r, 15 - r). The wheel over the list steps through the presets: it asks the
// page for the previous preset ("ScrollDown", wheel up) or the next one ("ScrollUp").
#pragma once

#include "editor/CMatrix.h"

class PPresetMatrix : public CMatrix {
public:
    static constexpr int kRows = 16;
    static constexpr int kNameColumn = 0;
    static constexpr int kMarkerColumn = 1;
    static constexpr const char* kScrollUp = "ScrollUp";
    static constexpr const char* kScrollDown = "ScrollDown";

    PPresetMatrix(const CRect& size, IMatrixDef* def);

    // The column (kNameColumn, kMarkerColumn) whose cell in row `row` spans `x` (from the
    // view's left edge); -1 between and beside the cells.
    static int columnAt(int row, CCoord x);
    // The shape of row r: its entry in the tables below.
    static int shapeOf(int row) { return row < kRows / 2 ? row : kRows - 1 - row; }

    CRect cellRect(int row, int column) const override;
    bool cellAt(const CPoint& where, int& row, int& column) const override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool isTypeOf(const char* type) const override;
};
