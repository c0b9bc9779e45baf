// A two-ended slope: a straight line across the control from a left value to a right value, each
// in [0, 1] (0 at the bottom). Dragging up or down moves both ends together; with Alt held at the
// press only the end on the pressed half moves. The further right the pointer is, the finer the
// movement, and Shift makes it finer still. Each end can stand for a value object: update()
// takes that value into its end, storeBoundValues() writes the ends' values back.
#pragma once

#include "editor/CDependent.h"
#include "gui/CControl.h"

class CSlopeDisplay : public CControl, public CDependent {
public:
    enum End { kLeft = 0, kRight = 1 };
    static constexpr float kShiftFactor = 0.05f;

    // `background` (the page's) is drawn behind the line at the control's own position.
    CSlopeDisplay(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

    // The left end is also the control's value.
    float endValue(int end) const { return end == kRight ? right_ : getValue(); }
    void setEndValue(int end, float value);
    // The end a drag moved last (the right one when both moved).
    int lastMovedEnd() const { return lastMoved_; }
    void setLineColour(const CColor& colour);
    void setLineWidth(int width);

    // End `end` stands for `value` from now on (null: for none); false when the value object has
    // no room for another dependent.
    bool bindEnd(int end, CValueObject* value);
    CValueObject* endValueObject(int end) const { return bound_[end == kRight]; }
    // Writes each bound end's value that differs from its value object's into it, the end moved
    // last at the end; the display is not told its own values back.
    void storeBoundValues();
    void update(CValueObject* value) override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool isTypeOf(const char* type) const override;

private:
    // The line's height at an end's value (control coordinates).
    CCoord lineY(float value) const;

    float right_ = 0;
    int lastMoved_ = kRight;
    CColor lineColour_{0, 0, 0, 255};
    int lineWidth_ = 1;
    CValueObject* bound_[2] = {};
};
