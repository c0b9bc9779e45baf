// A push button: pressing sets the maximum and tells the listener; while the button is held the
// value follows whether the pointer is inside; releasing sets the minimum and tells the listener
// again (when the value was still the maximum). The bitmap stacks the released and pressed
// images.
#pragma once

#include "gui/CControl.h"

class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                const CPoint& offset = {});

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool isTypeOf(const char* type) const override;

private:
    void show(float value);
    CPoint offset_;
};
