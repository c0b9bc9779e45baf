// A container whose controls report to it and whose reports go on to one listener (the editor
// object), so that the controls of a page need to know only their page.
#pragma once

#include "gui/CControl.h"
#include "gui/CViewContainer.h"

class CEditor : public CViewContainer, public CControlListener {
public:
    CEditor(const CRect& size, CFrame* frame, CControlListener* listener,
            CBitmap* background = nullptr);

    void valueChanged(CControl* control) override;
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;
    bool isTypeOf(const char* type) const override;

    CControlListener* getListener() const { return listener_; }

private:
    CControlListener* listener_;
};
