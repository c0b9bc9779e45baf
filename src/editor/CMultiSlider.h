// A slider with up to four handles on one track, each an image of a shared bitmap collection
// (handle i shows bitmap i; a missing bitmap is drawn as a plain bar of a fixed size). A press on
// a handle picks it and drags it with the pointer; a press elsewhere drags the handle picked
// last, which jumps to the pointer. Shift makes a drag fine (a tenth of the pointer's travel,
// measured from where Shift changed, so the handle never jumps); Alt at the press moves every
// handle to the same value. The wheel and the arrow keys step the picked handle (Alt: every one).
//
// Each handle keeps a position in [0, 1] along the track; its value is that position, or its cube
// with kCubed. The control's own value is the picked handle's value. Handles can stand for value
// objects: update() takes a value object's value into the handles bound to it, and
// storeBoundValues() writes the handles' values into theirs.
#pragma once

#include "editor/CDependent.h"
#include "gui/CControl.h"

class CBitmapCollection;
class CValueObject;

class CMultiSlider : public CControl, public CDependent {
public:
    enum Options {
        kVertical = 1,
        kFocusMarker = 4,      // a square marks the picked handle while the slider has focus
        kAlternateAlign = 8,   // even handles end at the track's line, odd ones start there;
                               // presses are tested against the handles' rectangles only
        kCubed = 16,           // a handle's value is the cube of its position
    };
    static constexpr int kMaxHandles = 4;
    static constexpr float kFineDivisor = 10.0f;

    // More than kMaxHandles handles are cut to kMaxHandles. `handles` is remembered; `background`
    // is drawn behind the handles from its point setBackgroundOffset names.
    CMultiSlider(const CRect& size, CControlListener* listener, long tag, int options,
                 int handleCount, CBitmapCollection* handles, CBitmap* background);
    ~CMultiSlider() override;

    int options() const { return options_; }
    int handleCount() const { return count_; }
    int selectedHandle() const { return selected_; }
    void setSelectedHandle(int handle);
    // Position along the track in [0, 1] (0 at the bottom or the left).
    float handlePosition(int handle) const;
    void setHandlePosition(int handle, float position);
    // The position, or its cube with kCubed; setting takes the cube root back.
    float handleValue(int handle) const;
    void setHandleValue(int handle, float value);
    void setBackgroundOffset(const CPoint& offset) { backgroundOffset_ = offset; }

    // The handle's rectangle in the parent's coordinates.
    virtual CRect handleRect(int handle) const;
    // The handle a press at `where` (parent coordinates) picks, -1 for none.
    int pickHandle(const CPoint& where) const;

    // Handle `handle` stands for `value` from now on (null: for none). False when the value
    // object has no room for another dependent.
    bool bindHandle(int handle, CValueObject* value);
    CValueObject* handleValueObject(int handle) const;
    // Writes each bound handle's value that differs from its value object's into it, the picked
    // handle last; the slider is not told its own values back.
    void storeBoundValues();
    void update(CValueObject* value) override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    long onKeyDown(VstKeyCode& key) override;
    bool isTypeOf(const char* type) const override;

protected:
    // Where a handle at `position` has its centre, in control coordinates along the track
    // (vertical sliders: from the top).
    virtual CCoord centreAt(float position) const;
    // The position whose handle centre lies at `along`, the inverse of centreAt (not limited).
    virtual float positionAt(CCoord along) const;
    // The handle's size: its bitmap's, or the fallback bar's while the bitmap is missing.
    CPoint handleSize(int handle) const;
    // The largest handle width and height.
    CPoint maxHandleSize() const { return maxSize_; }
    CBitmap* handleBitmap(int handle) const;
    bool isVertical() const { return (options_ & kVertical) != 0; }
    // A handle box `box` placed with its centre at `centre` (control coordinates), aligned as
    // the options say, moved into parent coordinates.
    CRect placeHandle(int handle, const CPoint& centre) const;

private:
    CCoord along(const CPoint& where) const;
    // Gives the picked handle (with `all`, every handle) `position` when it differs from the
    // picked one's, then tells the listener and redraws.
    void moveTo(float position, bool all);
    void step(float steps, bool fine, bool all);

    int options_;
    int count_;
    float positions_[kMaxHandles] = {};
    CValueObject* bound_[kMaxHandles] = {};
    int selected_ = 0;
    CBitmapCollection* handles_;
    CPoint maxSize_;
    CPoint backgroundOffset_;
};
