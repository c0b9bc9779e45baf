#include "editor/POrinDiskControl.h"

#include <cstring>

#include "editor/POrinDiskDescriptor.h"

POrinDiskControl::POrinDiskControl(const CRect& size, CControlListener* listener, long tag,
                                   POrinDiskDescriptor* descriptor, const CPoint* centre,
                                   CBitmapCollection* normal, CBitmapCollection* lit,
                                   CBitmap* background, const CPoint& backgroundOffset)
    : PDiskControl(size, listener, tag, descriptor, centre, normal, lit, background,
                   backgroundOffset),
      orin_(descriptor) {}

bool POrinDiskControl::onWheel(CDrawContext*, const CPoint& where, float distance) {
    if (!orin_) return false;
    PDiskSector* sector = orin_->sectorAt(orin_->toCentre(toLocal(where)));
    if (!sector) return false;
    orin_->stepSlot(sector, int(distance));
    return true;
}

bool POrinDiskControl::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "POrinDiskControl") == 0) || PDiskControl::isTypeOf(type);
}
