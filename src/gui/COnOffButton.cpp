#include "gui/COnOffButton.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag,
                           CBitmap* background)
    : CControl(size, listener, tag, background) {
    setDefaultValue(0);
}

void COnOffButton::draw(CDrawContext* context) {
    if (CBitmap* image = getBackground()) {
        CPoint offset(0, isOn() ? image->getHeight() / 2 : 0);
        if (getTransparency()) {
            image->drawTransparent(context, size, offset);
        } else {
            image->draw(context, size, offset);
        }
    }
    setDirty(false);
}

void COnOffButton::toggle() {
    beginEdit();
    setValue(isOn() ? getMin() : getMax());
    valueChanged();
    endEdit();
    invalid();
}

void COnOffButton::mouse(CDrawContext* context, CPoint&, long buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == -1 && context) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (getFrame()) getFrame()->setFocusView(this);
    toggle();
}

long COnOffButton::onKeyDown(VstKeyCode& key) {
    if (key.virt != VKEY_SPACE && key.virt != VKEY_RETURN && key.virt != VKEY_ENTER) return -1;
    toggle();
    return 1;
}

bool COnOffButton::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "COnOffButton") == 0) || CControl::isTypeOf(type);
}
