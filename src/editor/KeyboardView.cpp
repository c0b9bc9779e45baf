#include "editor/KeyboardView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/KeyboardDisplay.h"
#include "core/Orin.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
// The keys' geometry in the strip bitmap (strip coordinates): six octaves between end blocks of
// 38 and 22 pixels; white key j starts at kLeft + round(j * white width) and leaves a one-pixel
// gap before the next; black keys are kBlackWidth wide at their offsets within the octave.
constexpr int kLeft = 38;
constexpr int kRight = 478 - 22;
constexpr int kOctaves = 6;
constexpr int kWhiteKeys = 7 * kOctaves;
constexpr float kOctaveWidth = float(kRight - kLeft) / kOctaves;
constexpr float kWhiteWidth = kOctaveWidth / 7;
constexpr int kBlackWidth = 7;
constexpr int kBlackOffsets[5] = {6, 16, 36, 46, 56};
constexpr int kBlackSemitones[5] = {1, 3, 6, 8, 10};
constexpr int kWhiteSemitones[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kKeyTop = 6;
constexpr int kBlackBottom = 33;  // presses above this row may be on a black key
constexpr int kWhiteBottom = 49;
constexpr int kStripHeight = 65;

// Lit keys: the window's neutral accent laid over the key.
constexpr CColor kLitOnWhite{124, 240, 180, 170};
constexpr CColor kLitOnBlack{124, 240, 180, 210};
// The keys drawn while the strip's bitmap is missing.
constexpr CColor kPlainWhite{236, 234, 228, 255};
constexpr CColor kPlainBlack{23, 25, 30, 255};
constexpr CColor kPlainBed{7, 8, 10, 255};
constexpr CColor kPlainLid{38, 42, 50, 255};

int roundHalfUp(float v) {
    return int(std::floor(v + 0.5f));
}

int whiteEdge(int j) {
    return kLeft + roundHalfUp(float(j) * kWhiteWidth);
}

CRect whiteKeyRect(int j) {
    return CRect(whiteEdge(j), kKeyTop, whiteEdge(j + 1) - 1, kWhiteBottom);
}

// Black key k (0 .. 5 * kOctaves - 1), C# of the lowest octave first.
CRect blackKeyRect(int k) {
    const int left = kLeft + roundHalfUp(float(k / 5) * kOctaveWidth + float(kBlackOffsets[k % 5]));
    return CRect(left, kKeyTop, left + kBlackWidth, kBlackBottom);
}

int whiteNote(int j) {
    return KeyboardView::kFirstNote + 12 * (j / 7) + kWhiteSemitones[j % 7];
}

int blackNote(int k) {
    return KeyboardView::kFirstNote + 12 * (k / 5) + kBlackSemitones[k % 5];
}
}  // namespace

KeyboardView::KeyboardView(const CRect& size, Orin& plugin, CBitmap* strip, TickSource ticks)
    : CControl(size, nullptr, -1, strip), plugin_(plugin), ticks_(ticks) {}

KeyboardView::~KeyboardView() = default;

int KeyboardView::keyAt(const CPoint& local, int* velocity) {
    const int x = local.h, y = local.v;
    if (x < kLeft || x >= kRight || y < 0 || y >= kStripHeight) return -1;
    if (velocity) *velocity = std::clamp(160 * y / 33, 1, 127);
    if (y < kBlackBottom) {
        const int octave = std::clamp(int(float(x - kLeft) / kOctaveWidth), 0, kOctaves - 1);
        for (int k = 5 * octave; k < 5 * octave + 5; ++k) {
            const CRect r = blackKeyRect(k);
            if (x >= r.left && x < r.right) return blackNote(k);
        }
    }
    // The last white key that starts at or left of x (the edges are rounded, so the estimate
    // from the width may be one off).
    int j = std::clamp(int(float(x - kLeft) / kWhiteWidth), 0, kWhiteKeys - 1);
    while (j + 1 < kWhiteKeys && whiteEdge(j + 1) <= x) ++j;
    while (j > 0 && whiteEdge(j) > x) --j;
    return whiteNote(j);
}

void KeyboardView::setKeyLit(int note, bool lit) {
    const int k = note - kFirstNote;
    if (k < 0 || k >= kKeyCount || lit_[k] == lit) return;
    lit_[k] = lit;
    if (frame_ == kKeysFrame) invalid();
}

bool KeyboardView::isKeyLit(int note) const {
    const int k = note - kFirstNote;
    return k >= 0 && k < kKeyCount && (lit_[k] || note == held_);
}

void KeyboardView::clearKeys() {
    std::fill(std::begin(lit_), std::end(lit_), false);
    invalid();
}

void KeyboardView::showDisplay(const KeyboardDisplay& display) {
    const std::uint32_t changes = display.changes();
    if (displaySeen_ && changes == displayChanges_) return;
    displaySeen_ = true;
    displayChanges_ = changes;
    for (int k = 0; k < kKeyCount; ++k) setKeyLit(kFirstNote + k, display.velocity(kFirstNote + k) > 0);
}

void KeyboardView::showFrame(int frame) {
    if (frame < 0 || frame >= kFrameCount || frame == frame_) return;
    frame_ = frame;
    invalid();
}

bool KeyboardView::isCollapsed() const {
    return slideStep_ > 0 || (slideStep_ == 0 && frame_ == kCollapsedFrame);
}

void KeyboardView::startSlide() {
    if (slideStep_ != 0)
        slideStep_ = -slideStep_;
    else
        slideStep_ = frame_ == kKeysFrame ? 1 : -1;
    slideTick_ = ticks_();
}

void KeyboardView::stepSlide() {
    if (slideStep_ == 0) return;
    const std::uint32_t now = ticks_();
    if (now - slideTick_ < kSlideStepMs) return;
    slideTick_ = now;
    showFrame(std::clamp(frame_ + slideStep_, 0, kFrameCount - 1));
    if (frame_ == kKeysFrame || frame_ == kCollapsedFrame) slideStep_ = 0;
}

void KeyboardView::play(int note, bool on, int velocity) {
    // The keyboard plays a little softer than its reach: 127 is sent as 88.
    plugin_.queueKeyboardNote(0, note, on ? int(float(velocity) * 0.7f) : 0, on);
}

void KeyboardView::holdNote(int note, int velocity) {
    if (held_ >= 0) play(held_, false, 0);
    held_ = note;
    if (held_ >= 0) play(held_, true, velocity);
    invalid();
}

void KeyboardView::releaseNotes() {
    tracking_ = false;
    if (held_ >= 0) holdNote(-1, 0);
}

bool KeyboardView::isPressOnEnd(const CPoint& local) const {
    if (local.h < kLeft || local.h >= kRight) return true;
    // With the lid over the keys, its leading grip next to the left end block opens it.
    return frame_ != kKeysFrame && local.h < kLeft + roundHalfUp(kWhiteWidth);
}

void KeyboardView::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!getMouseEnabled() || !context) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    if (!(buttons & kLButton)) return;
    const CPoint local(where.h - size.left, where.v - size.top);
    if (isPressOnEnd(local)) {
        startSlide();
        return;
    }
    int velocity = 1;
    const int note = frame_ == kKeysFrame ? keyAt(local, &velocity) : -1;
    if (note < 0) return;
    holdNote(note, velocity);
    // A glissando: each key the pointer enters is played, the one it left let go.
    tracking_ = true;
    while (tracking_ && getFrame()) {
        const long now = context->getMouseButtons();
        if (!(now & kLButton)) break;
        CPoint p;
        context->getMouseLocation(p);
        const int next = keyAt(CPoint(p.h - size.left, p.v - size.top), &velocity);
        if (next != held_) holdNote(next, velocity);
        getFrame()->doIdleStuff();
    }
    tracking_ = false;
    if (held_ >= 0) holdNote(-1, 0);
}

void KeyboardView::draw(CDrawContext* context) {
    CBitmap* strip = getBackground();
    if (strip && strip->isLoaded()) {
        strip->draw(context, size, CPoint(0, frame_ * (strip->getHeight() / kFrameCount)));
    } else {
        drawPlainKeys(context);
    }
    if (frame_ == kKeysFrame) drawLitKeys(context);
    setDirty(false);
}

void KeyboardView::drawPlainKeys(CDrawContext* context) {
    auto fill = [&](CRect r, const CColor& colour) {
        context->setFillColor(colour);
        context->fillRect(r.offset(size.left, size.top));
    };
    fill(CRect(0, 0, getWidth(), getHeight()), kPlainBed);
    for (int j = 0; j < kWhiteKeys; ++j) fill(whiteKeyRect(j), kPlainWhite);
    for (int k = 0; k < 5 * kOctaves; ++k) fill(blackKeyRect(k), kPlainBlack);
    const int lid = roundHalfUp(float(frame_) * kOctaveWidth);
    if (frame_ != kKeysFrame) fill(CRect(0, 0, kLeft + lid, getHeight()), kPlainLid);
}

void KeyboardView::drawLitKeys(CDrawContext* context) {
    CBitmap* strip = getBackground();
    const bool hasStrip = strip && strip->isLoaded();
    auto place = [&](CRect r) { return r.offset(size.left, size.top); };
    bool anyWhite = false;
    context->setFillColor(kLitOnWhite);
    for (int j = 0; j < kWhiteKeys; ++j) {
        if (!isKeyLit(whiteNote(j))) continue;
        context->fillRect(place(whiteKeyRect(j)));
        anyWhite = true;
    }
    // Black keys stand over the white ones: those a lit white key's tint covered are put back.
    for (int k = 0; anyWhite && k < 5 * kOctaves; ++k) {
        const CRect r = blackKeyRect(k);
        if (hasStrip) {
            strip->draw(context, place(r), r.topLeft());
        } else {
            context->setFillColor(kPlainBlack);
            context->fillRect(place(r));
        }
    }
    context->setFillColor(kLitOnBlack);
    for (int k = 0; k < 5 * kOctaves; ++k) {
        if (isKeyLit(blackNote(k))) context->fillRect(place(blackKeyRect(k)));
    }
}

bool KeyboardView::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "KeyboardView") == 0) || CControl::isTypeOf(type);
}
