#include "editor/CEditor.h"

#include <cstring>

CEditor::CEditor(const CRect& size, CFrame* frame, CControlListener* listener, CBitmap* background)
    : CViewContainer(size, frame, background), listener_(listener) {}

void CEditor::valueChanged(CControl* control) {
    if (listener_) listener_->valueChanged(control);
}

void CEditor::controlBeginEdit(CControl* control) {
    if (listener_) listener_->controlBeginEdit(control);
}

void CEditor::controlEndEdit(CControl* control) {
    if (listener_) listener_->controlEndEdit(control);
}

bool CEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CEditor") == 0) || CViewContainer::isTypeOf(type);
}
