// A control that only draws its bitmap (a backdrop, a picture).
#pragma once

#include "gui/CControl.h"

class CBitmapView : public CControl, public CControlListener {
public:
    CBitmapView(const CRect& size, CBitmap* bitmap);

    void draw(CDrawContext* context) override;
    using CControl::valueChanged;
    void valueChanged(CControl*) override {}
    bool isTypeOf(const char* type) const override;
};
