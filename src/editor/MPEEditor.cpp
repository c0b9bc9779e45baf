#include "editor/MPEEditor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editor/EditorColours.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"
#include "gui/CViewContainer.h"
#include "platform/Platform.h"

namespace {

// The text colour of lit surfaces.
constexpr CColor kOnLit{20, 22, 27, 255};
// The Base layer's amber until a page names the layer.
constexpr CColor kAmber{216, 154, 62, 255};
constexpr CColor kAmberLit{255, 181, 69, 255};
constexpr CCoord kCoordLimit = 32000;
constexpr CCoord kValueBoxWidth = 70;

CCoord limitCoord(double v) {
    if (!(v > -kCoordLimit)) return -kCoordLimit;
    return v > kCoordLimit ? kCoordLimit : CCoord(v);
}

double unitClamp(double v) {
    return std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0);
}

// `number` with three decimals and `suffix` after it, the same in every locale.
void writeFixed3(char* text, std::size_t capacity, double number, const char* suffix) {
    char* end = text + capacity - 1;
    auto result = std::to_chars(text, end, number, std::chars_format::fixed, 3);
    std::snprintf(result.ptr, std::size_t(end - result.ptr) + 1, "%s", suffix);
}

std::uint32_t systemClock() {
    return platform::tickCount();
}

}  // namespace

MPEEditor::MPEEditor(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                     MultiPointEnvelope* envelope)
    : CControl(size, listener, tag, background), envelope_(envelope), clock_(systemClock) {
    setLayerColour(kAmber, kAmberLit);
    setMode(kFreeMode);
}

MPEEditor::~MPEEditor() {
    delete offscreen_;
}

void MPEEditor::setEnvelope(MultiPointEnvelope* envelope) {
    envelope_ = envelope;
    invalid();
}

void MPEEditor::setZoom(double zoom) {
    zoom_ = zoom;
    invalid();
}

void MPEEditor::setOffset(double offset) {
    offset_ = offset;
    invalid();
}

double MPEEditor::timeScale(const MultiPointEnvelope& envelope) const {
    const double span = std::max(envelope.count() - 1, 0);
    const double s = (span - 0.01) * zoom_ * zoom_ * zoom_ + 0.01;
    return 1.0 / std::clamp(s, 0.01, std::max(span, 0.01));
}

double MPEEditor::timeScale() const {
    return envelope_ ? timeScale(*envelope_) : 100.0;
}

void MPEEditor::setMode(int mode) {
    mode_ = mode;
    gap_ = mode == kAdsrMode ? 0 : int(0.15 * getWidth());
    handleHalf_ = mode == kAdsrMode ? 7 : 8;
    invalid();
}

void MPEEditor::setTimeLimits(double attackDecay, double release) {
    attackDecayLimit_ = attackDecay;
    releaseLimit_ = release;
}

void MPEEditor::setLayerColour(const CColor& colour, const CColor& lit) {
    colours_.text = kOnLit;
    colours_.handleFill = colour;
    colours_.handleFrame = kOnLit;
    colours_.selectedFrame = kEditorInk;
    colours_.curve = lit;
    colours_.shadow = {std::uint8_t(colour.red / 3), std::uint8_t(colour.green / 3),
                       std::uint8_t(colour.blue / 3), 255};
    invalid();
}

// ---- Geometry ----

void MPEEditor::layoutHandles(const MultiPointEnvelope& envelope, CRect* rects) const {
    const int hs = handleHalf_;
    const double width = getWidth() - 2 * hs;
    const double height = getHeight() - 2 * hs;
    const double k = timeScale(envelope) * (width - gap_);
    for (int i = 0; i < envelope.count(); ++i) {
        double x = (envelope.position(i) - offset_) * k;
        if (i > envelope.sustain()) x += gap_;
        const double y = height - height * std::cbrt(envelope.point(i).level);
        const CCoord left = limitCoord(x), top = limitCoord(y);
        rects[i] = CRect(left, top, left + 2 * hs, top + 2 * hs);
        if (i == envelope.sustain()) rects[i].right += gap_;
    }
}

void MPEEditor::layoutHandles() {
    if (envelope_) layoutHandles(*envelope_, handles_);
}

CPoint MPEEditor::handleCentre(int point) const {
    return {handles_[point].left + handleHalf_, handles_[point].top + handleHalf_};
}

int MPEEditor::hitPoint(const CPoint& where) const {
    if (!envelope_) return -1;
    const int first = mode_ == kAdsrMode ? 1 : 0;
    for (int i = envelope_->count() - 1; i >= first; --i) {
        // The square alone: the sustain handle's widened part does not count.
        const CRect& r = handles_[i];
        if (CRect(r.left, r.top, r.left + 2 * handleHalf_, r.bottom).pointInside(where)) return i;
    }
    return -1;
}

double MPEEditor::levelAt(CCoord y) const {
    const double height = getHeight() - 2 * handleHalf_;
    if (height <= 0) return 0;
    const double l = unitClamp((handleHalf_ + height - y) / height);
    return l * l * l;
}

CCoord MPEEditor::yOfLevel(double level) const {
    const double height = getHeight() - 2 * handleHalf_;
    return CCoord(height - height * std::cbrt(unitClamp(level))) + handleHalf_;
}

double MPEEditor::timeAt(CCoord x, bool afterSustain) const {
    const double k = timeScale() * (getWidth() - 2 * handleHalf_ - gap_);
    if (!(k > 0)) return offset_;
    return offset_ + (x - handleHalf_) / k - (afterSustain ? gap_ / k : 0.0);
}

// ---- Texts ----

void MPEEditor::levelText(double level, char* text) const {
    if (level <= 0)
        std::snprintf(text, 32, "-%s dB", "oo");
    else
        writeFixed3(text, 32, 20.0 * std::log10(level), " dB");
}

void MPEEditor::timeText(double time, char* text) const {
    writeFixed3(text, 32, time * 10.0, " sec");
}

// ---- Drawing ----

bool MPEEditor::attached(CView* parent) {
    delete offscreen_;
    offscreen_ = new COffscreenContext(getFrame(), getWidth(), getHeight(), kEditorField);
    return CControl::attached(parent);
}

bool MPEEditor::removed(CView* parent) {
    delete offscreen_;
    offscreen_ = nullptr;
    return CControl::removed(parent);
}

void MPEEditor::draw(CDrawContext* context) {
    if (offscreen_) {
        drawContents(offscreen_);
        offscreen_->copyFrom(context, size);
    } else {
        COffscreenContext once(getFrame(), getWidth(), getHeight(), kEditorField);
        drawContents(&once);
        once.copyFrom(context, size);
    }
    setDirty(false);
}

void MPEEditor::drawBackground(CDrawContext* context) {
    const CRect all(0, 0, getWidth(), getHeight());
    if (CBitmap* background = getBackground()) {
        background->draw(context, all, backgroundOffset_);
    } else {
        context->setFillColor(kEditorField);
        context->fillRect(all);
    }
}

void MPEEditor::drawContents(CDrawContext* context) {
    drawBackground(context);
    if (envelope_ && envelope_->count() > 0) drawCurve(context, *envelope_, true, colours_);
    if (dragged_ >= 0 && mode_ == kFreeMode) drawValues(context);
}

void MPEEditor::drawCurve(CDrawContext* context, const MultiPointEnvelope& envelope,
                          bool withHandles, const MpeColours& colours) {
    CRect rects[MultiPointEnvelope::kMaxPoints];
    layoutHandles(envelope, rects);
    if (&envelope == envelope_) std::copy(rects, rects + envelope.count(), handles_);
    const int hs = handleHalf_;
    const CCoord areaLeft = hs, areaRight = getWidth() - hs;
    const int passes = colours.hasShadow ? 2 : 1;
    context->setLineWidth(colours.lineWidth);
    for (int pass = 0; pass < passes; ++pass) {
        // The shadow first, the line over it.
        const bool shadow = pass + 1 < passes;
        const CCoord shift = shadow ? colours.lineWidth : 0;
        context->setFrameColor(shadow ? colours.shadow : colours.curve);
        for (int i = 1; i < envelope.count(); ++i) {
            CPoint a(rects[i - 1].left + hs + shift, rects[i - 1].top + hs + shift);
            const CPoint b(rects[i].left + hs + shift, rects[i].top + hs + shift);
            if (mode_ == kFreeMode && i - 1 == envelope.sustain()) a.h += gap_;
            const CCoord dx = b.h - a.h, dy = b.v - a.v;
            if (std::abs(dx) <= 3 || b.v == a.v - 3) {
                context->drawLine(a, b);
                continue;
            }
            const double bend = envelope.point(i - 1).bend;
            polyline_.clear();
            for (CCoord column = 0; column <= dx; ++column) {
                const CCoord x = a.h + column;
                if (x < areaLeft) continue;
                if (x > areaRight) break;
                const double u = double(column) / dx;
                polyline_.push_back(
                    CPoint(x, a.v + CCoord(std::lround(dy * MultiPointEnvelope::segmentShape(bend, u)))));
            }
            if (polyline_.size() > 1) context->drawPolyline(polyline_.data(), int(polyline_.size()));
        }
    }
    if (!withHandles || colours.handleShape == 0) return;
    context->setLineWidth(1);
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(colours.text);
    for (int i = 0; i < envelope.count(); ++i) {
        CRect square(rects[i].left, rects[i].top, rects[i].left + 2 * hs, rects[i].bottom);
        square.inset(1, 1);
        context->setFillColor(colours.handleFill);
        context->setFrameColor(i == selected_ && &envelope == envelope_ ? colours.selectedFrame
                                                                        : colours.handleFrame);
        char label[32];
        if (mode_ == kFreeMode && i == envelope.sustain() && gap_ > 0) {
            square.right = rects[i].right - 1;
            std::snprintf(label, sizeof label, "%d (Sustain)", i + 1);
        } else {
            std::snprintf(label, sizeof label, "%1d", i + 1);
        }
        if (colours.handleShape == 1) {
            context->drawRect(square, kDrawFilledAndStroked);
        } else {
            context->setDrawMode(kAntialias);
            context->drawEllipse(square, kDrawFilledAndStroked);
            context->setDrawMode(kAliasing);
        }
        context->drawString(label, square, false, kCenterText);
    }
}

void MPEEditor::drawValues(CDrawContext* context) {
    if (!envelope_ || dragged_ < 0 || dragged_ >= envelope_->count()) return;
    const CRect& handle = handles_[dragged_];
    const CCoord boxHeight = 2 * handleHalf_;
    char texts[2][32];
    int count = 0;
    if (dragged_ < envelope_->count() - 1) levelText(envelope_->point(dragged_).level, texts[count++]);
    if (dragged_ > 0) timeText(envelope_->point(dragged_ - 1).time, texts[count++]);
    CCoord left = handle.left + 2 * handleHalf_ + 2;
    if (left + kValueBoxWidth > getWidth()) left = handle.left - kValueBoxWidth - 2;
    CCoord top = std::min(handle.top, getHeight() - count * boxHeight);
    top = std::max<CCoord>(top, 0);
    context->setFont(kNormalFontSmall);
    context->setFontColor(kEditorInk);
    context->setFillColor(kEditorField);
    context->setFrameColor(kEditorCaption);
    context->setLineWidth(1);
    for (int i = 0; i < count; ++i) {
        const CRect box(left, top + i * boxHeight, left + kValueBoxWidth, top + (i + 1) * boxHeight);
        context->drawRect(box, kDrawFilledAndStroked);
        context->drawString(texts[i], box, false, kCenterText);
    }
}

// ---- Mouse ----

void MPEEditor::ensurePoints() {
    if (envelope_ && envelope_->count() == 0) envelope_->setDefault();
}

void MPEEditor::changed() {
    valueChanged();
    invalid();
}

CPoint MPEEditor::localMouse(CDrawContext* context) const {
    CPoint p;
    context->getMouseLocation(p);
    return {p.h - size.left, p.v - size.top};
}

void MPEEditor::idle() {
    if (getFrame()) getFrame()->doIdleStuff();
}

void MPEEditor::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!envelope_ || !getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    ensurePoints();
    if (getFrame()) getFrame()->setFocusView(this);
    editAt(context, CPoint(where.h - size.left, where.v - size.top), buttons);
}

bool MPEEditor::canDelete(int point) const {
    const int n = envelope_->count();
    const bool enough = (n > 3 && point > 0) || (n == 3 && point > 1);
    return enough && point < n - 1 && !(point == 1 && envelope_->sustain() == 1);
}

void MPEEditor::editAt(CDrawContext* context, const CPoint& where, long buttons) {
    if (!envelope_ || envelope_->count() == 0) return;
    layoutHandles();
    bool doubleClick = false;
    if (mode_ == kFreeMode && (buttons & kLButton)) {
        const std::uint32_t now = clock_();
        doubleClick = hasLastPress_ && now - lastPress_ < kDoubleClickMs;
        hasLastPress_ = !doubleClick;
        lastPress_ = doubleClick ? 0 : now;
    }
    const int hit = hitPoint(where);
    if (hit >= 0 && doubleClick && canDelete(hit)) {
        envelope_->removePoint(hit);
        if (selected_ >= envelope_->count()) selected_ = envelope_->count() - 1;
        changed();
        return;
    }
    if (hit >= 0) {
        dragPoint(context, hit, where);
        return;
    }
    if (doubleClick && envelope_->count() < envelope_->maxPoints()) {
        insertAt(where);
        return;
    }
    dragCurve(context, where, buttons);
}

void MPEEditor::dragPoint(CDrawContext* context, int point, const CPoint& press) {
    selected_ = point;
    // In ADSR mode the decay's start (point 1) moves in time only.
    const bool timeOnly = mode_ == kAdsrMode && point == 1;
    const bool last = point == envelope_->count() - 1;
    gesture_ = {};
    if (point > 0) gesture_.timePoint = point - 1;
    if (!timeOnly && !last) gesture_.levelPoint = point;
    beginEdit();
    const CPoint grab(press.h - handleCentre(point).h, press.v - handleCentre(point).v);
    const int hs = handleHalf_;
    const CCoord height = getHeight() - 2 * hs, right = getWidth() - hs;
    bool fine = false;
    CPoint fineMouse, fineTarget;
    bool first = true;
    while (getFrame()) {
        const long now = context->getMouseButtons();
        if (!(now & kLButton)) break;
        const CPoint mouse = localMouse(context);
        const CPoint centre = handleCentre(point);
        CPoint target(mouse.h - grab.h, mouse.v - grab.v);
        if ((now & kShift) != 0) {
            if (!fine) {
                fine = true;
                fineMouse = mouse;
                fineTarget = centre;
            }
            target = CPoint(fineTarget.h + (mouse.h - fineMouse.h) / 5,
                            fineTarget.v + (mouse.v - fineMouse.v) / 5);
        } else {
            fine = false;
        }
        if ((now & kControl) || timeOnly) target.v = centre.v;
        if (now & kAlt) target.h = centre.h;
        target.h = std::clamp<CCoord>(target.h, hs, std::max<CCoord>(right, hs));
        target.v = std::clamp<CCoord>(target.v, hs, std::max<CCoord>(height + hs, hs));
        if (first) {
            dragged_ = point;
            first = false;
            invalid();
        }
        if (point > 0 && target.h != centre.h) {
            EnvelopePoint previous = envelope_->point(point - 1);
            const bool afterSustain = point > envelope_->sustain();
            double time = previous.time + (timeAt(target.h, afterSustain) - envelope_->position(point));
            if (mode_ == kAdsrMode && point <= 2) time = std::min(time, attackDecayLimit_);
            if (mode_ == kAdsrMode && afterSustain) time = std::min(time, releaseLimit_);
            previous.time = unitClamp(time);
            envelope_->setPoint(point - 1, previous);
            layoutHandles();
            changed();
        }
        if (target.v != centre.v) {
            EnvelopePoint p = envelope_->point(point);
            p.level = last ? 0.0 : levelAt(target.v);
            envelope_->setPoint(point, p);
            layoutHandles();
            changed();
        }
        idle();
    }
    // A held right button keeps the values on show.
    while (getFrame() && (context->getMouseButtons() & (kRButton | kApple))) idle();
    endEdit();
    gesture_ = {};
    dragged_ = -1;
    invalid();
}

void MPEEditor::dragCurve(CDrawContext* context, const CPoint& press, long buttons) {
    const int n = envelope_->count();
    if (n < 2) return;
    // The segment ends at the first handle right of the press; a press left of point 0 bends
    // the first segment and one right of the last point the last segment.
    int end = 1;
    while (end < n - 1 && handleCentre(end).h <= press.h) ++end;
    const int start = end - 1;
    double sensitivity = (handleCentre(end).h - handleCentre(start).h) / 2.0;
    if (buttons & kShift) sensitivity *= 2;
    if (sensitivity < 1) sensitivity = 1;
    gesture_ = {};
    gesture_.bendPoint = start;
    beginEdit();
    if (buttons & kControl) {
        envelope_->setBend(start, 0);
        changed();
    }
    const double startBend = envelope_->point(start).bend;
    const bool rising = handles_[end].top <= handles_[start].top;
    CPoint last = press;
    while (getFrame()) {
        if (!(context->getMouseButtons() & kLButton)) break;
        const CPoint mouse = localMouse(context);
        if (mouse.h != last.h || mouse.v != last.v) {
            last = mouse;
            const int dy = rising ? mouse.v - press.v : press.v - mouse.v;
            const int d = int(std::floor(((mouse.h - press.h) + dy) / 2.0));
            envelope_->setBend(start, std::clamp(startBend + d / sensitivity, -1.0, 1.0));
            changed();
        }
        idle();
    }
    endEdit();
    gesture_ = {};
}

void MPEEditor::insertAt(const CPoint& where) {
    const int n = envelope_->count();
    // Before the first handle right of the press, never before point 0.
    int index = 1;
    while (index < n && handleCentre(index).h <= where.h) ++index;
    const int previous = index - 1;
    EnvelopePoint before = envelope_->point(previous);
    const double oldTime = before.time;
    const double at = timeAt(where.h, index > envelope_->sustain());
    before.time = unitClamp(at - envelope_->position(previous));
    EnvelopePoint added;
    added.time = unitClamp(oldTime - before.time);
    added.level = levelAt(where.v);
    if (envelope_->insertPoint(index) != index) return;
    envelope_->setPoint(previous, before);
    envelope_->setPoint(index, added);
    selected_ = index;
    changed();
}

// ---- Wheel and keys ----

bool MPEEditor::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!getMouseEnabled() || !envelope_ || envelope_->count() == 0) return false;
    const long buttons = context ? context->getMouseButtons() : 0;
    double d = distance * getWheelInc();
    if (buttons & kShift) d *= 0.1;
    const int n = envelope_->count();
    const int point = std::clamp(selected_, 0, n - 1);
    const bool level = !(buttons & kControl) && point < n - 1 &&
                       (mode_ == kFreeMode || point >= 2);
    gesture_ = {};
    const int target = level ? point : std::max(point - 1, 0);
    EnvelopePoint p = envelope_->point(target);
    if (level) {
        gesture_.levelPoint = target;
        p.level = unitClamp(p.level + d);
    } else {
        gesture_.timePoint = target;
        p.time = unitClamp(p.time + d);
    }
    beginEdit();
    envelope_->setPoint(target, p);
    changed();
    endEdit();
    gesture_ = {};
    return true;
}

long MPEEditor::onKeyDown(VstKeyCode& key) {
    if (key.modifier != 0 || !envelope_) return -1;
    if (key.virt == VKEY_LEFT) {
        selected_ = std::max(selected_ - 1, 0);
    } else if (key.virt == VKEY_RIGHT) {
        selected_ = std::max(std::min(selected_ + 1, envelope_->count() - 1), 0);
    } else {
        return -1;
    }
    invalid();
    return 1;
}

bool MPEEditor::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "MPEEditor") == 0) || CControl::isTypeOf(type);
}
