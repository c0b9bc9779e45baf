#include "gui/CKnob.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
constexpr float kStartAngle = 45.f;  // degrees clockwise from straight down
constexpr float kSweepAngle = 270.f;
constexpr float kFineFactor = 10.f;
}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
             CBitmap* handle, const CPoint& offset)
    : CControl(size, listener, tag, background), offset_(offset), handle_(handle) {
    if (handle_) handle_->remember();
}

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, int subPixmaps,
             CCoord heightOfOneImage, CBitmap* strip, const CPoint& offset)
    : CControl(size, listener, tag, strip),
      subPixmaps_(subPixmaps),
      imageHeight_(heightOfOneImage),
      offset_(offset) {}

CKnob::~CKnob() {
    if (handle_) handle_->forget();
    if (backdrop_) backdrop_->forget();
}

void CKnob::setBackdrop(CBitmap* bitmap, const CPoint& offset) {
    if (bitmap) bitmap->remember();
    if (backdrop_) backdrop_->forget();
    backdrop_ = bitmap;
    backdropOffset_ = offset;
    setDirty(true);
}

void CKnob::setKnobArea(const CRect& area) {
    knobArea_ = area;
    hasKnobArea_ = true;
    setDirty(true);
}

void CKnob::draw(CDrawContext* context) {
    if (backdrop_) backdrop_->draw(context, size, backdropOffset_);
    CBitmap* image = getBackground();
    const CRect& area = getKnobArea();
    if (subPixmaps_ > 1 && image && image->isLoaded()) {
        int index = int(std::lround(getNormalizedValue() * float(subPixmaps_ - 1)));
        CPoint where(offset_.h, offset_.v + index * imageHeight_);
        image->draw(context, area, where);
    } else {
        if (image) image->draw(context, area, offset_);
        // The handle: a line from the centre towards the value's angle.
        float angle =
            (kStartAngle + getNormalizedValue() * kSweepAngle) * float(std::numbers::pi) / 180.f;
        float cx = float(area.left + area.right - 1) / 2.f;
        float cy = float(area.top + area.bottom - 1) / 2.f;
        float radius = float(std::min(area.width(), area.height())) / 2.f - 2.f;
        CPoint tip(int(std::lround(cx - radius * std::sin(angle))),
                   int(std::lround(cy + radius * std::cos(angle))));
        if (handle_) {
            CRect r(tip.h - handle_->getWidth() / 2, tip.v - handle_->getHeight() / 2, 0, 0);
            r.right = r.left + handle_->getWidth();
            r.bottom = r.top + handle_->getHeight();
            handle_->drawTransparent(context, r);
        } else {
            context->setFrameColor(handleColor_);
            context->setLineWidth(2);
            context->setDrawMode(kAntialias);
            context->drawLine(CPoint(int(cx), int(cy)), tip);
            context->setDrawMode(kAliasing);
            context->setLineWidth(1);
        }
    }
    setDirty(false);
}

float CKnob::valueFromAngle(const CPoint& where) const {
    const CRect& area = getKnobArea();
    float dx = float(where.h) - float(area.left + area.right) / 2.f;
    float dy = float(where.v) - float(area.top + area.bottom) / 2.f;
    // Degrees clockwise from straight down.
    float degrees = std::atan2(-dx, dy) * 180.f / float(std::numbers::pi);
    if (degrees < 0) degrees += 360.f;
    float normalized = std::clamp((degrees - kStartAngle) / kSweepAngle, 0.f, 1.f);
    return getMin() + normalized * getRange();
}

void CKnob::changeValue(float value) {
    float before = getValue();
    setValue(value);
    bounceValue();
    if (getValue() != before) {
        valueChanged();
        invalid();
    }
}

void CKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (getFrame()) getFrame()->setFocusView(this);
    beginEdit();
    if (buttons & kControl) {
        changeValue(getDefaultValue());
        endEdit();
        return;
    }
    const int mode = getFrame() ? getFrame()->getKnobMode() : kLinearMode;
    CPoint anchor = where;
    float anchorValue = getValue();
    bool fine = (buttons & kShift) != 0;
    if (mode == kCircularMode) changeValue(valueFromAngle(where));
    while (getFrame()) {
        long now = context->getMouseButtons();
        if (!(now & kLButton)) break;
        CPoint p;
        context->getMouseLocation(p);
        if (((now & kShift) != 0) != fine) {
            // Switching between coarse and fine re-anchors so that the value does not jump.
            fine = !fine;
            anchor = p;
            anchorValue = getValue();
        }
        if (mode == kLinearMode) {
            float pixels = float((anchor.v - p.v) + (p.h - anchor.h));
            float step = getRange() / (travel_ * (fine ? kFineFactor : 1.f));
            changeValue(anchorValue + pixels * step);
        } else if (mode == kCircularMode) {
            changeValue(valueFromAngle(p));
        } else {
            float turned = valueFromAngle(p) - valueFromAngle(anchor);
            changeValue(anchorValue + turned * (fine ? 1.f / kFineFactor : 1.f));
        }
        getFrame()->doIdleStuff();
    }
    endEdit();
}

void CKnob::step(float steps, bool fine) {
    beginEdit();
    changeValue(getValue() + steps * getWheelInc() * (fine ? 0.1f : 1.f));
    endEdit();
}

bool CKnob::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!getMouseEnabled()) return false;
    step(distance, context && (context->getMouseButtons() & kShift));
    return true;
}

long CKnob::onKeyDown(VstKeyCode& key) {
    const bool fine = (key.modifier & MODIFIER_SHIFT) != 0;
    switch (key.virt) {
        case VKEY_UP:
        case VKEY_RIGHT:
            step(1, fine);
            return 1;
        case VKEY_DOWN:
        case VKEY_LEFT:
            step(-1, fine);
            return 1;
        default:
            return -1;
    }
}

bool CKnob::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CKnob") == 0) || CControl::isTypeOf(type);
}
