// What a grid (CMatrix) shows and does: its size, the drawing of each cell and the handling of a
// press on a cell. One definition may serve several grids, which tell themselves apart by the
// identifier they pass.
#pragma once

class CDrawContext;
struct CRect;

class IMatrixDef {
public:
    // How a cell was reached (the mode of clickCell).
    static constexpr long kClick = 1;
    static constexpr long kDoubleClick = 2;  // only from grids that ask for double clicks
    static constexpr long kRightPress = 4;
    static constexpr long kDragEnter = 4096;  // entered while the left button is held

    virtual ~IMatrixDef() = default;

    virtual int rowCount(long id) = 0;
    virtual int columnCount(long id) = 0;
    // Draws the cell into `cell` (the context's coordinates).
    virtual void drawCell(long id, int row, int column, CDrawContext* context,
                          const CRect& cell) = 0;
    // `buttons` holds the mouse buttons and modifier keys of the event. Answers whether the
    // grid must redraw the cell.
    virtual bool clickCell(long id, int row, int column, CDrawContext* context, long mode,
                           long buttons) = 0;
};
