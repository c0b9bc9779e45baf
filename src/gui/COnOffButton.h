// A two-state button: its bitmap stacks the off image over the on image. A left press toggles
// between the minimum and the maximum and tells the listener at once; the press also makes it
// the frame's focus view, after which the space bar and Return toggle it too.
#pragma once

#include "gui/CControl.h"

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

    bool isOn() const { return getValue() > getMin() + getRange() / 2; }
    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    void toggle();
    bool isTypeOf(const char* type) const override;
};
