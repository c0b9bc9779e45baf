#include "gui/CKickButton.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset_(offset) {
    setDefaultValue(0);
}

void CKickButton::draw(CDrawContext* context) {
    if (CBitmap* image = getBackground()) {
        bool pressed = getValue() == getMax();
        CPoint offset(offset_.h, offset_.v + (pressed ? image->getHeight() / 2 : 0));
        image->draw(context, size, offset);
    }
    setDirty(false);
}

void CKickButton::show(float value) {
    if (getValue() == value) return;
    setValue(value);
    valueChanged();
    invalid();
}

void CKickButton::mouse(CDrawContext* context, CPoint&, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    beginEdit();
    setValue(getMin());
    show(getMax());
    while (getFrame() && (context->getMouseButtons() & kLButton)) {
        CPoint p;
        context->getMouseLocation(p);
        show(size.pointInside(p) ? getMax() : getMin());
        getFrame()->doIdleStuff();
    }
    show(getMin());
    endEdit();
}

bool CKickButton::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CKickButton") == 0) || CControl::isTypeOf(type);
}
