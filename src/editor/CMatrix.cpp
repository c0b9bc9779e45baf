#include "editor/CMatrix.h"

#include <algorithm>
#include <cstring>

#include "editor/IMatrixDef.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"

CMatrix::CMatrix(const CRect& size, IMatrixDef* def, long id, int visibleRows, long options)
    : CView(size), def_(def), id_(id), visibleRows_(std::max(1, visibleRows)), options_(options) {}

CMatrix::~CMatrix() {
    delete offscreen_;
}

int CMatrix::rowCount() const {
    return def_ ? def_->rowCount(id_) : 0;
}

int CMatrix::columnCount() const {
    return def_ ? def_->columnCount(id_) : 0;
}

void CMatrix::setFirstVisibleRow(int row) {
    row = std::clamp(row, 0, std::max(0, rowCount() - visibleRows_));
    if (row == firstRow_) return;
    firstRow_ = row;
    invalid();
}

int CMatrix::rowHeight() const {
    return getHeight() / visibleRows_;
}

int CMatrix::columnWidth() const {
    const int columns = columnCount();
    return columns > 0 ? getWidth() / columns : 0;
}

CRect CMatrix::cellRect(int row, int column) const {
    CRect cell(CPoint(column * columnWidth(), (row - firstRow_) * rowHeight()), columnWidth(),
               rowHeight());
    return cell.inset(padding_, padding_);
}

bool CMatrix::cellAt(const CPoint& where, int& row, int& column) const {
    if (!size.pointInside(where) || rowHeight() <= 0 || columnWidth() <= 0) return false;
    row = firstRow_ + (where.v - size.top) / rowHeight();
    column = (where.h - size.left) / columnWidth();
    return row < std::min(rowCount(), firstRow_ + visibleRows_) && column < columnCount();
}

void CMatrix::invalidCell(int row, int column) {
    CRect cell = cellRect(row, column);
    cell.offset(size.left, size.top);
    if (getFrame()) getFrame()->invalidRect(localToFrame(cell));
}

void CMatrix::drawCells(CDrawContext* context, const CPoint& origin) {
    const int last = std::min(rowCount(), firstRow_ + visibleRows_);
    const int columns = columnCount();
    for (int row = firstRow_; row < last; ++row) {
        for (int column = 0; column < columns; ++column) {
            CRect cell = cellRect(row, column);
            def_->drawCell(id_, row, column, context, cell.offset(origin.h, origin.v));
        }
    }
    if (gridColor_.alpha != 0) drawGridLines(context, origin);
}

void CMatrix::drawGridLines(CDrawContext* context, const CPoint& origin) {
    context->setFrameColor(gridColor_);
    const int rows = std::min(rowCount() - firstRow_, visibleRows_);
    const int columns = columnCount();
    const int right = origin.h + columns * columnWidth() - 1;
    const int bottom = origin.v + rows * rowHeight() - 1;
    for (int row = 1; row < rows; ++row) {
        const int y = origin.v + row * rowHeight();
        context->drawLine(CPoint(origin.h, y), CPoint(right, y));
    }
    for (int column = 1; column < columns; ++column) {
        const int x = origin.h + column * columnWidth();
        context->drawLine(CPoint(x, origin.v), CPoint(x, bottom));
    }
}

void CMatrix::draw(CDrawContext* context) {
    if (def_) {
        if (offscreen_) {
            offscreen_->setFillColor(kBlackCColor);
            offscreen_->fillRect(CRect(0, 0, getWidth(), getHeight()));
            drawCells(offscreen_, CPoint());
            offscreen_->copyFrom(context, size);
        } else {
            drawCells(context, size.topLeft());
        }
    }
    setDirty(false);
}

bool CMatrix::click(CDrawContext* context, int row, int column, long mode, long buttons) {
    if (!def_->clickCell(id_, row, column, context, mode, buttons)) return false;
    invalidCell(row, column);
    return true;
}

void CMatrix::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !def_ || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    int row = 0, column = 0;
    if (!cellAt(where, row, column)) return;
    if (isSecondaryClick(buttons)) {
        click(context, row, column, IMatrixDef::kRightPress, buttons);
        return;
    }
    if (!(buttons & kLButton)) return;
    click(context, row, column, IMatrixDef::kClick, buttons);
    // The cell the pointer is in (-1 between cells); a cell counts as entered when the pointer
    // comes into it from anywhere else.
    int lastRow = row, lastColumn = column;
    bool dragged = false;
    while (getFrame() && (context->getMouseButtons() & kLButton)) {
        CPoint p;
        context->getMouseLocation(p);
        int r = -1, c = -1;
        if (cellAt(p, r, c) && (r != lastRow || c != lastColumn)) {
            dragged = true;
            click(context, r, c, IMatrixDef::kDragEnter, context->getMouseButtons());
        }
        lastRow = r;
        lastColumn = c;
        if (!getFrame()->doIdleStuff()) break;
    }
    if (dragged || !(options_ & kDoubleClicks) || !context->waitDoubleClick(where)) return;
    click(context, row, column, IMatrixDef::kDoubleClick, context->getMouseButtons());
    // The second press ends here, not as a press of its own.
    while (getFrame() && (context->getMouseButtons() & kLButton)) {
        if (!getFrame()->doIdleStuff()) break;
    }
}

bool CMatrix::onWheel(CDrawContext*, const CPoint&, float distance) {
    if (!(options_ & kWheelScrolls)) return false;
    if (distance > 0)
        setFirstVisibleRow(firstRow_ - 1);
    else if (distance < 0)
        setFirstVisibleRow(firstRow_ + 1);
    return true;
}

bool CMatrix::attached(CView* parent) {
    const bool result = CView::attached(parent);
    if (!(options_ & kNoOffscreen) && !offscreen_ && getWidth() > 0 && getHeight() > 0)
        offscreen_ = new COffscreenContext(getFrame(), getWidth(), getHeight());
    return result;
}

bool CMatrix::removed(CView* parent) {
    delete offscreen_;
    offscreen_ = nullptr;
    return CView::removed(parent);
}

bool CMatrix::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CMatrix") == 0) || CView::isTypeOf(type);
}
