#include "editor/CGuidedMultiSlider.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

CGuidedMultiSlider::CGuidedMultiSlider(const CRect& size, CControlListener* listener, long tag,
                                       int handleCount, CBitmapCollection* handles,
                                       CBitmap* background, std::vector<CPoint> guide,
                                       int extraOptions)
    : CMultiSlider(size, listener, tag, kVertical | kAlternateAlign | extraOptions, handleCount,
                   handles, background),
      guide_(std::move(guide)) {
    const CPoint handle = maxHandleSize();
    bottom_ = getHeight() - 1 - handle.v / 2;
    // The top is where the guide has moved far enough right for a left-hand handle to fit.
    top_ = bottom_;
    for (CCoord y = 0; y < bottom_; ++y) {
        if (guideX(y) > handle.h) {
            top_ = y + 2;
            break;
        }
    }
}

CCoord CGuidedMultiSlider::guideX(CCoord y) const {
    if (guide_.empty()) return -1;
    // Above and below its ends the guide goes straight on, so that the handles' limits (which
    // may lie past them) still have a place on it.
    y = std::clamp(y, guide_.front().v, guide_.back().v);
    for (std::size_t i = 0; i + 1 < guide_.size(); ++i) {
        const CPoint& a = guide_[i];
        const CPoint& b = guide_[i + 1];
        if (y < a.v || y > b.v) continue;
        const CCoord dy = b.v - a.v;
        const CCoord dx = b.h - a.h;
        if (dy == 0 || dx == 0) return a.h;
        return a.h + CCoord(std::trunc(double(y - a.v) / (double(dy) / double(dx))));
    }
    return -1;
}

CCoord CGuidedMultiSlider::centreAt(float position) const {
    return bottom_ - CCoord(float(bottom_ - top_) * position + 1e-3f);
}

float CGuidedMultiSlider::positionAt(CCoord along) const {
    return bottom_ > top_ ? float(bottom_ - along) / float(bottom_ - top_) : 0.0f;
}

CRect CGuidedMultiSlider::handleRect(int handle) const {
    const CCoord y = centreAt(handlePosition(handle));
    return placeHandle(handle, CPoint(guideX(y), y));
}

bool CGuidedMultiSlider::hitTest(const CPoint& where, long) const {
    if (!size.pointInside(where)) return false;
    const CCoord x = guideX(where.v - size.top);
    const CCoord relative = where.h - size.left;
    return x >= 0 && std::abs(relative - x) <= maxHandleSize().h;
}

bool CGuidedMultiSlider::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CGuidedMultiSlider") == 0) ||
           CMultiSlider::isTypeOf(type);
}
