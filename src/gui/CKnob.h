// A rotary control. With an image strip (N equal images stacked vertically) it shows image
// round(value × (N − 1)); without one it draws its background and a handle line. Dragging
// changes the value: vertically in linear mode (200 pixels for the whole range, ten times finer
// with Shift), by angle in the circular modes. Control-click restores the default; the wheel
// steps by the wheel increment (a tenth of it with Shift). A pressed knob becomes the frame's
// focus view, and then the arrow keys step it like the wheel. The knob may fill only part of the
// view (setKnobArea), leaving room for something the view draws beside it. A strip that is not
// loaded is drawn like a knob without one.
#pragma once

#include "gui/CControl.h"

class CKnob : public CControl {
public:
    // A drawn knob over `background`.
    CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
          CBitmap* handle = nullptr, const CPoint& offset = {});
    // An image-strip knob: `strip` holds `subPixmaps` images of `heightOfOneImage` pixels.
    CKnob(const CRect& size, CControlListener* listener, long tag, int subPixmaps,
          CCoord heightOfOneImage, CBitmap* strip, const CPoint& offset = {});
    ~CKnob() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    bool isTypeOf(const char* type) const override;

    // A bitmap drawn behind the knob (for strips with transparent pixels): the part of `bitmap`
    // at `offset` fills the knob's rectangle. Remembered; null removes it.
    void setBackdrop(CBitmap* bitmap, const CPoint& offset);
    void setColorHandle(const CColor& color) { handleColor_ = color; }
    int getSubPixmaps() const { return subPixmaps_; }
    // Pixels of vertical travel for the whole range in linear mode.
    void setZoomFactor(float pixels) { travel_ = pixels > 1 ? pixels : 1; }
    // Where the knob is drawn and turned, in the same coordinates as the view's size; the view's
    // own rectangle until set.
    void setKnobArea(const CRect& area);
    const CRect& getKnobArea() const { return hasKnobArea_ ? knobArea_ : size; }

    // Value for a pointer at `where` in circular mode (0..1 over 270 degrees, gap at the bottom).
    float valueFromAngle(const CPoint& where) const;

private:
    void changeValue(float value);
    // One wheel or arrow-key step of `steps` increments, bracketed as one gesture.
    void step(float steps, bool fine);

    int subPixmaps_ = 0;
    CCoord imageHeight_ = 0;
    CPoint offset_;
    CBitmap* handle_ = nullptr;
    CBitmap* backdrop_ = nullptr;
    CPoint backdropOffset_;
    CColor handleColor_ = kWhiteCColor;
    float travel_ = 200.f;
    CRect knobArea_;
    bool hasKnobArea_ = false;
};
