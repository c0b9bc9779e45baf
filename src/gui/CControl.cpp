#include "gui/CControl.h"

#include <algorithm>
#include <cstring>

#include "gui/CFrame.h"

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size), oldValue_(1.f), listener_(listener), tag_(tag) {
    if (background) setBackground(background);
    setDirty(true);
}

void CControl::bounceValue() {
    float lo = std::min(min_, max_), hi = std::max(min_, max_);
    value_ = std::clamp(value_, lo, hi);
}

float CControl::getNormalizedValue() const {
    float range = max_ - min_;
    return range != 0 ? std::clamp((value_ - min_) / range, 0.f, 1.f) : 0.f;
}

void CControl::valueChanged() {
    if (listener_) listener_->valueChanged(this);
}

void CControl::beginEdit() {
    if (editing_++ > 0) return;
    if (listener_) listener_->controlBeginEdit(this);
    if (getFrame()) getFrame()->beginEdit(tag_);
}

void CControl::endEdit() {
    if (editing_ == 0 || --editing_ > 0) return;
    if (getFrame()) getFrame()->endEdit(tag_);
    if (listener_) listener_->controlEndEdit(this);
}

bool CControl::isDirty() const {
    return CView::isDirty() || oldValue_ != value_;
}

void CControl::setDirty(bool dirty) {
    CView::setDirty(dirty);
    if (!dirty) oldValue_ = value_;
}

bool CControl::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CControl") == 0) || CView::isTypeOf(type);
}
