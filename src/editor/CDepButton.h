// An on/off button that shows a value object's value.
#pragma once

#include "editor/CDependent.h"
#include "gui/COnOffButton.h"

class CDepButton : public COnOffButton, public CDependent {
public:
    CDepButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
        : COnOffButton(size, listener, tag, background) {}

    void update(CValueObject* value) override;
};
