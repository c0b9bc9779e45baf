#include "editor/CMultiSlider.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/CBitmapCollection.h"
#include "editor/CValueObject.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
// The bar drawn for a handle whose bitmap is missing.
const CPoint kFallbackHandle(16, 9);
constexpr CColor kFallbackFace{196, 202, 212, 255};
constexpr CColor kFallbackRim{18, 20, 24, 255};
// The picked handle's marker: the window's neutral accent, lit.
constexpr CColor kMarkerColour{124, 240, 180, 255};
constexpr CCoord kMarkerSize = 7;

float unit(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// Handle centres truncate; the small lift keeps a position read back from a centre (k / travel)
// on that same centre instead of one pixel short of it.
CCoord pixelsOf(float position, CCoord travel) {
    return CCoord(float(travel) * position + 1e-3f);
}
}  // namespace

CMultiSlider::CMultiSlider(const CRect& size, CControlListener* listener, long tag, int options,
                           int handleCount, CBitmapCollection* handles, CBitmap* background)
    : CControl(size, listener, tag, background),
      options_(options),
      count_(std::clamp(handleCount, 0, kMaxHandles)),
      handles_(handles) {
    if (handles_) handles_->remember();
    for (int i = 0; i < count_; ++i) {
        const CPoint s = handleSize(i);
        maxSize_.h = std::max(maxSize_.h, s.h);
        maxSize_.v = std::max(maxSize_.v, s.v);
    }
    setValue(0.0f);
}

CMultiSlider::~CMultiSlider() {
    if (handles_) handles_->forget();
}

void CMultiSlider::setSelectedHandle(int handle) {
    if (handle < 0 || handle >= count_) return;
    selected_ = handle;
    setValue(handleValue(handle));
    invalid();
}

float CMultiSlider::handlePosition(int handle) const {
    return handle >= 0 && handle < count_ ? positions_[handle] : 0.0f;
}

void CMultiSlider::setHandlePosition(int handle, float position) {
    if (handle < 0 || handle >= count_) return;
    positions_[handle] = unit(position);
    if (handle == selected_) setValue(handleValue(handle));
    invalid();
}

float CMultiSlider::handleValue(int handle) const {
    const float p = handlePosition(handle);
    return (options_ & kCubed) ? p * p * p : p;
}

void CMultiSlider::setHandleValue(int handle, float value) {
    const float v = unit(value);
    setHandlePosition(handle, (options_ & kCubed) ? std::cbrt(v) : v);
}

CBitmap* CMultiSlider::handleBitmap(int handle) const {
    CBitmap* b = handles_ ? handles_->get(handle) : nullptr;
    return b && b->isLoaded() ? b : nullptr;
}

CPoint CMultiSlider::handleSize(int handle) const {
    const CBitmap* b = handleBitmap(handle);
    return b ? CPoint(b->getWidth(), b->getHeight()) : kFallbackHandle;
}

CCoord CMultiSlider::along(const CPoint& where) const {
    return isVertical() ? where.v - size.top : where.h - size.left;
}

CCoord CMultiSlider::centreAt(float position) const {
    if (isVertical()) {
        const CCoord travel = getHeight() - maxSize_.v;
        return maxSize_.v / 2 + travel - pixelsOf(position, travel);
    }
    return maxSize_.h / 2 + pixelsOf(position, getWidth() - maxSize_.h);
}

// The pointer is read over the same travel the handles are placed on, so that a dragged handle
// stays under the pointer all along the track.
float CMultiSlider::positionAt(CCoord along) const {
    if (isVertical()) {
        const CCoord travel = getHeight() - maxSize_.v;
        return travel > 0 ? float(maxSize_.v / 2 + travel - along) / float(travel) : 0.0f;
    }
    const CCoord travel = getWidth() - maxSize_.h;
    return travel > 0 ? float(along - maxSize_.h / 2) / float(travel) : 0.0f;
}

CRect CMultiSlider::placeHandle(int handle, const CPoint& centre) const {
    const CPoint s = handleSize(handle);
    CCoord left = centre.h - s.h / 2;
    if (options_ & kAlternateAlign) left = handle % 2 == 0 ? centre.h - s.h : centre.h;
    CRect r(CPoint(left, centre.v - s.v / 2), s.h, s.v);
    return r.offset(size.left, size.top);
}

CRect CMultiSlider::handleRect(int handle) const {
    const CCoord c = centreAt(handlePosition(handle));
    const CPoint centre = isVertical() ? CPoint(getWidth() / 2, c) : CPoint(c, getHeight() / 2);
    return placeHandle(handle, centre);
}

int CMultiSlider::pickHandle(const CPoint& where) const {
    for (int i = 0; i < count_; ++i) {
        const CRect r = handleRect(i);
        if (!r.pointInside(where)) continue;
        const CBitmap* b = handleBitmap(i);
        if (b && !(options_ & kAlternateAlign)) {
            const CCoord x = where.h - r.left, y = where.v - r.top;
            if (b->isTransparentAt(x, y) || (b->hasAlpha() && b->getPixel(x, y).alpha == 0))
                continue;
        }
        return i;
    }
    return -1;
}

bool CMultiSlider::bindHandle(int handle, CValueObject* value) {
    if (handle < 0 || handle >= count_) return false;
    bound_[handle] = value;
    if (!value) return true;
    for (int i = 0; i < count_; ++i) {
        if (i != handle && bound_[i] == value) return true;  // registered already
    }
    return value->addDependent(this);
}

CValueObject* CMultiSlider::handleValueObject(int handle) const {
    return handle >= 0 && handle < count_ ? bound_[handle] : nullptr;
}

void CMultiSlider::storeBoundValues() {
    // Positions are compared, not values: a cubed handle holds the cube root of its value, and
    // one the gesture left alone must not write that rounding back as a new value.
    auto store = [this](int i) {
        if (!bound_[i]) return;
        const float v = unit(bound_[i]->getValue());
        if (((options_ & kCubed) ? std::cbrt(v) : v) != positions_[i])
            bound_[i]->setValue(handleValue(i), this);
    };
    for (int i = 0; i < count_; ++i) {
        if (i != selected_) store(i);
    }
    if (selected_ < count_) store(selected_);
}

void CMultiSlider::update(CValueObject* value) {
    for (int i = 0; i < count_; ++i) {
        if (bound_[i] == value) setHandleValue(i, value->getValue());
    }
}

void CMultiSlider::draw(CDrawContext* context) {
    if (CBitmap* background = getBackground()) background->draw(context, size, backgroundOffset_);
    for (int i = count_ - 1; i >= 0; --i) {
        const CRect r = handleRect(i);
        if (CBitmap* b = handleBitmap(i)) {
            // A transparency colour or mask where the bitmap has one, else its alpha channel.
            if (b->hasTransparentColor() || b->getTransparencyMask())
                b->drawTransparent(context, r);
            else
                b->draw(context, r);
        } else {
            context->setFillColor(kFallbackFace);
            context->setFrameColor(kFallbackRim);
            context->drawRect(r, kDrawFilledAndStroked);
        }
    }
    if ((options_ & kFocusMarker) && count_ > 0 && getFrame() && getFrame()->getFocusView() == this) {
        const CRect r = handleRect(selected_);
        const CPoint c((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        context->setFillColor(kMarkerColour);
        context->fillRect(CRect(CPoint(c.h - kMarkerSize / 2, c.v - kMarkerSize / 2), kMarkerSize,
                                kMarkerSize));
    }
    setDirty(false);
}

void CMultiSlider::moveTo(float position, bool all) {
    const float p = unit(position);
    if (count_ == 0 || p == positions_[selected_]) return;
    for (int i = 0; i < count_; ++i) {
        if (all || i == selected_) positions_[i] = p;
    }
    setValue(handleValue(selected_));
    valueChanged();
    invalid();
}

void CMultiSlider::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context || count_ == 0) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (getFrame()) getFrame()->setFocusView(this);
    const int picked = pickHandle(where);
    CCoord grab = 0;  // from the pointer to the picked handle's centre
    if (picked >= 0) {
        selected_ = picked;
        grab = centreAt(positions_[picked]) - along(where);
    }
    const bool all = (buttons & kAlt) != 0;
    bool fine = (buttons & kShift) != 0;
    // A fine drag moves from the handle's position by a tenth of the pointer's travel since the
    // anchor; a coarse drag from a press takes the pointer's position itself.
    CCoord anchor = along(where) + grab;
    float start = fine ? positions_[selected_] : positionAt(anchor);
    beginEdit();
    moveTo(start, all);
    while (getFrame()) {
        const long now = context->getMouseButtons();
        if (!(now & kLButton)) break;
        CPoint p;
        context->getMouseLocation(p);
        const CCoord at = along(p) + grab;
        if (((now & kShift) != 0) != fine) {
            fine = !fine;
            anchor = at;
            start = positions_[selected_];
        }
        const float travelled = positionAt(at) - positionAt(anchor);
        moveTo(start + (fine ? travelled / kFineDivisor : travelled), all);
        getFrame()->doIdleStuff();
    }
    endEdit();
}

void CMultiSlider::step(float steps, bool fine, bool all) {
    if (count_ == 0) return;
    beginEdit();
    moveTo(positions_[selected_] + steps * getWheelInc() * (fine ? 0.1f : 1.0f), all);
    endEdit();
}

bool CMultiSlider::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!getMouseEnabled()) return false;
    const long buttons = context ? context->getMouseButtons() : 0;
    step(distance, (buttons & kShift) != 0, (buttons & kAlt) != 0);
    return true;
}

long CMultiSlider::onKeyDown(VstKeyCode& key) {
    const bool fine = (key.modifier & MODIFIER_SHIFT) != 0;
    const bool all = (key.modifier & MODIFIER_ALTERNATE) != 0;
    switch (key.virt) {
        case VKEY_UP:
        case VKEY_RIGHT:
            step(1, fine, all);
            return 1;
        case VKEY_DOWN:
        case VKEY_LEFT:
            step(-1, fine, all);
            return 1;
        default:
            return -1;
    }
}

bool CMultiSlider::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CMultiSlider") == 0) || CControl::isTypeOf(type);
}
