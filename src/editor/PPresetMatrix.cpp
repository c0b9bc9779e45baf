#include "editor/PPresetMatrix.h"

#include <cstring>

namespace {

constexpr int kShapes = PPresetMatrix::kRows / 2;
// Name cells: left and right edge; load markers: left edge and width (list coordinates).
constexpr int kNameLeft[kShapes] = {0, 18, 30, 41, 50, 57, 61, 64};
constexpr int kNameRight[kShapes] = {181, 203, 218, 232, 239, 245, 248, 250};
constexpr int kMarkerLeft[kShapes] = {193, 212, 227, 238, 246, 252, 254, 255};
constexpr int kMarkerWidth[kShapes] = {20, 20, 22, 23, 24, 25, 27, 28};

}  // namespace

PPresetMatrix::PPresetMatrix(const CRect& size, IMatrixDef* def)
    : CMatrix(size, def, -1, kRows, kNoOffscreen) {
    // The rows are painted on the page's background; no lines between them.
    setGridColor(kTransparentCColor);
}

CRect PPresetMatrix::cellRect(int row, int column) const {
    CRect cell = CMatrix::cellRect(row, column);
    const int k = shapeOf(row);
    if (column == kNameColumn) {
        cell.left = kNameLeft[k];
        cell.right = kNameRight[k];
    } else {
        cell.left = kMarkerLeft[k];
        cell.right = kMarkerLeft[k] + kMarkerWidth[k];
    }
    return cell;
}

int PPresetMatrix::columnAt(int row, CCoord x) {
    if (row < 0 || row >= kRows) return -1;
    const int k = shapeOf(row);
    if (x >= kNameLeft[k] && x < kNameRight[k]) return kNameColumn;
    if (x >= kMarkerLeft[k] && x < kMarkerLeft[k] + kMarkerWidth[k]) return kMarkerColumn;
    return -1;
}

bool PPresetMatrix::cellAt(const CPoint& where, int& row, int& column) const {
    int r = 0, c = 0;
    if (!CMatrix::cellAt(where, r, c)) return false;
    const int at = columnAt(r, where.h - size.left);
    if (at < 0) return false;
    row = r;
    column = at;
    return true;
}

bool PPresetMatrix::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    if (CMatrix::onWheel(context, where, distance)) return true;
    CView* page = getParentView();
    if (!page || distance == 0) return false;
    page->notify(this, distance > 0 ? kScrollDown : kScrollUp);
    return true;
}

bool PPresetMatrix::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PPresetMatrix") == 0) || CMatrix::isTypeOf(type);
}
