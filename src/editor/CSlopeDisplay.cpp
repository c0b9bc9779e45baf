#include "editor/CSlopeDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/CValueObject.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
float unitClamp(float v) {
    return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}
}  // namespace

CSlopeDisplay::CSlopeDisplay(const CRect& size, CControlListener* listener, long tag,
                             CBitmap* background)
    : CControl(size, listener, tag, background) {}

void CSlopeDisplay::setEndValue(int end, float value) {
    const float v = unitClamp(value);
    if (end == kRight)
        right_ = v;
    else
        setValue(v);
    setDirty(true);
}

void CSlopeDisplay::setLineColour(const CColor& colour) {
    lineColour_ = colour;
    setDirty(true);
}

void CSlopeDisplay::setLineWidth(int width) {
    lineWidth_ = std::max(width, 1);
    setDirty(true);
}

bool CSlopeDisplay::bindEnd(int end, CValueObject* value) {
    bound_[end == kRight] = value;
    return !value || value->addDependent(this);
}

void CSlopeDisplay::storeBoundValues() {
    auto store = [this](int end) {
        CValueObject* value = bound_[end];
        if (value && value->getValue() != endValue(end)) value->setValue(endValue(end), this);
    };
    store(1 - lastMoved_);
    store(lastMoved_);
}

void CSlopeDisplay::update(CValueObject* value) {
    for (int end = kLeft; end <= kRight; ++end) {
        if (bound_[end] == value) setEndValue(end, value->getValue());
    }
    invalid();
}

CCoord CSlopeDisplay::lineY(float value) const {
    const CCoord travel = getHeight() - 2 * lineWidth_;
    return CCoord(std::lround((1.0f - value) * float(travel))) + lineWidth_;
}

void CSlopeDisplay::draw(CDrawContext* context) {
    if (CBitmap* back = getBackground()) back->draw(context, size, size.topLeft());
    context->setFrameColor(lineColour_);
    context->setLineWidth(lineWidth_);
    context->drawLine(CPoint(size.left, size.top + lineY(getValue())),
                      CPoint(size.right - 1, size.top + lineY(right_)));
    setDirty(false);
}

void CSlopeDisplay::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    // Alt: only the end on the pressed half; otherwise both.
    const bool one = (buttons & kAlt) != 0;
    const bool rightHalf = where.h - size.left >= getWidth() / 2;
    const bool moves[2] = {!one || !rightHalf, !one || rightHalf};
    lastMoved_ = moves[kRight] ? kRight : kLeft;
    CCoord previousY = where.v;
    beginEdit();
    while (getFrame()) {
        const long now = context->getMouseButtons();
        if (!(now & kLButton)) break;
        CPoint p;
        context->getMouseLocation(p);
        if (p.v != previousY) {
            // Further right is finer: the travel is divided by 1 + (0.05 x)^2.
            const float x = 0.05f * float(p.h - size.left);
            float delta = float(previousY - p.v) / (float(getHeight()) * (1.0f + x * x));
            if (now & kShift) delta *= kShiftFactor;
            previousY = p.v;
            bool changed = false;
            for (int end = kLeft; end <= kRight; ++end) {
                if (!moves[end]) continue;
                const float old = endValue(end);
                setEndValue(end, old + delta);
                changed |= endValue(end) != old;
            }
            if (changed) {
                invalid();
                valueChanged();
            }
        }
        getFrame()->doIdleStuff();
    }
    endEdit();
}

bool CSlopeDisplay::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CSlopeDisplay") == 0) || CControl::isTypeOf(type);
}
