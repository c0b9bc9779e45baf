// A vertical multi-handle slider whose handles ride along a curved guide: a polyline of (x, y)
// points in control coordinates, in rising y. A handle's centre height comes from its position
// between the guide's top and bottom limits, its x from the guide at that height; even handles
// end at the guide and odd ones start there. Only presses near the guide belong to the control.
#pragma once

#include <vector>

#include "editor/CMultiSlider.h"

class CGuidedMultiSlider : public CMultiSlider {
public:
    // Always vertical with alternate alignment; `extraOptions` may add kCubed or kFocusMarker.
    CGuidedMultiSlider(const CRect& size, CControlListener* listener, long tag, int handleCount,
                       CBitmapCollection* handles, CBitmap* background,
                       std::vector<CPoint> guide, int extraOptions = 0);

    // The guide's x at height y (control coordinates); beyond its ends the guide runs on
    // vertically. -1 for an empty guide.
    CCoord guideX(CCoord y) const;
    // The highest and lowest handle centre (control coordinates).
    CCoord topLimit() const { return top_; }
    CCoord bottomLimit() const { return bottom_; }

    CRect handleRect(int handle) const override;
    bool hitTest(const CPoint& where, long buttons = -1) const override;
    bool isTypeOf(const char* type) const override;

protected:
    CCoord centreAt(float position) const override;
    float positionAt(CCoord along) const override;

private:
    std::vector<CPoint> guide_;
    CCoord top_ = 0;
    CCoord bottom_ = 0;
};
