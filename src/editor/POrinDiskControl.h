// The palette control of this instrument: the generic disk control, plus the mouse wheel, which
// steps the excitation of the sector under the pointer through the pool.
#pragma once

#include "editor/PDiskControl.h"

class POrinDiskDescriptor;

class POrinDiskControl : public PDiskControl {
public:
    POrinDiskControl(const CRect& size, CControlListener* listener, long tag,
                     POrinDiskDescriptor* descriptor, const CPoint* centre,
                     CBitmapCollection* normal, CBitmapCollection* lit, CBitmap* background,
                     const CPoint& backgroundOffset);

    // Used (true) over a sector; a step is the whole part of `distance`.
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool isTypeOf(const char* type) const override;

private:
    POrinDiskDescriptor* orin_;
};
