#include "editor/CBitmapView.h"

#include <cstring>

#include "gui/CBitmap.h"

CBitmapView::CBitmapView(const CRect& size, CBitmap* bitmap) : CControl(size, nullptr, -1, bitmap) {}

void CBitmapView::draw(CDrawContext* context) {
    if (CBitmap* bitmap = getBackground()) bitmap->draw(context, size);
    setDirty(false);
}

bool CBitmapView::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CBitmapView") == 0) || CControl::isTypeOf(type);
}
