// A grid of cells whose count, drawing and clicks come from a definition (IMatrixDef). Rows have
// the view's height divided by the number of visible rows, columns the view's width divided by
// the column count; rows are counted from the first visible row, and each cell is shrunk by the
// padding on every side. Cells are drawn into an own offscreen bitmap (unless kNoOffscreen) and
// grid lines in the grid colour between them (none when the colour is transparent).
//
// A left press reports the cell as a click, then every further cell the pointer enters while the
// button is held, and with kDoubleClicks a second press soon after at the same place as a double
// click; a right press reports the cell as such. The wheel scrolls by one row with kWheelScrolls.
#pragma once

#include "gui/CView.h"

class COffscreenContext;
class IMatrixDef;

class CMatrix : public CView {
public:
    enum Options : long { kNoOffscreen = 1, kWheelScrolls = 2, kDoubleClicks = 4 };

    // `def` is not owned; `id` is passed to it with every question.
    CMatrix(const CRect& size, IMatrixDef* def, long id, int visibleRows, long options = 0);
    ~CMatrix() override;

    int rowCount() const;
    int columnCount() const;
    int visibleRows() const { return visibleRows_; }
    int firstVisibleRow() const { return firstRow_; }
    void setFirstVisibleRow(int row);
    long options() const { return options_; }
    void setOptions(long options) { options_ = options; }
    void setPadding(int pixels) { padding_ = pixels; }
    int padding() const { return padding_; }
    void setGridColor(const CColor& color) { gridColor_ = color; }
    CColor gridColor() const { return gridColor_; }

    // The cell's rectangle relative to the view's top-left corner.
    virtual CRect cellRect(int row, int column) const;
    // The visible cell under `where` (the parent's coordinates); false when there is none.
    virtual bool cellAt(const CPoint& where, int& row, int& column) const;
    // Asks the frame to redraw one cell.
    void invalidCell(int row, int column);

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;

protected:
    int rowHeight() const;
    int columnWidth() const;
    // Grid lines between the rows and columns, with the view's top-left at `origin`.
    virtual void drawGridLines(CDrawContext* context, const CPoint& origin);

    IMatrixDef* def_;
    long id_;

private:
    void drawCells(CDrawContext* context, const CPoint& origin);
    bool click(CDrawContext* context, int row, int column, long mode, long buttons);

    int visibleRows_;
    int firstRow_ = 0;
    long options_;
    int padding_ = 0;
    CColor gridColor_ = kWhiteCColor;
    COffscreenContext* offscreen_ = nullptr;
};
