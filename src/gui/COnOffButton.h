// A two-state button: its bitmap stacks the off image over the on image. A left press toggles
// between the minimum and the maximum and tells the listener at once.
#pragma once

#include "gui/CControl.h"

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

    bool isOn() const { return getValue() > getMin() + getRange() / 2; }
    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool isTypeOf(const char* type) const override;
};
