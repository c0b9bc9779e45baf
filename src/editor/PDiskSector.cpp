#include "editor/PDiskSector.h"

#include "editor/PDiskDescriptor.h"

void PDiskSector::init(PDiskDescriptor* owner, int ring, int index, int id, double startAngle) {
    owner_ = owner;
    ring_ = ring;
    index_ = index;
    id_ = id;
    startAngle_ = startAngle;
}

void PDiskSector::drawLabel(CDrawContext* context, const CRect& rect) {
    owner_->drawSectorLabel(this, context, rect);
}

bool PDiskSector::openMenu(CDrawContext* context, const CPoint& where) {
    return owner_->sectorMenu(this, context, where);
}

void PDiskSector::addLit(PDiskPointer* pointer) {
    ++litCount_;
    if (pointer) ++iconCount_;
}

void PDiskSector::removeLit(PDiskPointer* pointer) {
    if (litCount_ > 0) --litCount_;
    if (pointer && iconCount_ > 0) --iconCount_;
}

const CRect& PDiskSector::boundingRect() {
    if (!hasFlag(kRectCached)) {
        rect_ = owner_->computeBoundingRect(*this);
        setFlag(kRectCached);
    }
    return rect_;
}

CRect PDiskSector::imageRect() {
    CRect r = boundingRect();
    return r.inset(-2, -2);
}
