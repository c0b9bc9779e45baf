#include "editor/PDiskPointer.h"

#include "editor/PDiskDescriptor.h"
#include "editor/PDiskSector.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

namespace {
constexpr double kPi = 3.141592653589793;
constexpr int kStackStepX = 10;  // pixels between icons stacked on one sector
constexpr int kStackStepY = 2;
}  // namespace

PDiskPointer::PDiskPointer(PDiskDescriptor* owner, int index, CBitmap* bitmap)
    : owner_(owner), index_(index), bitmap_(bitmap) {}

PDiskPointer::~PDiskPointer() {
    if (bitmap_) bitmap_->forget();
}

CPoint PDiskPointer::iconSize() const {
    if (bitmap_ && bitmap_->isLoaded()) return {bitmap_->getWidth(), bitmap_->getHeight()};
    return fallbackSize_;
}

CRect PDiskPointer::rect() const {
    const CPoint s = iconSize();
    return CRect(CPoint(position_.h - s.h / 2, position_.v - s.v / 2), s.h, s.v);
}

void PDiskPointer::setSector(const CPoint* position, PDiskSector* sector, bool stacked) {
    if (sector != sector_) {
        if (sector_) sector_->removeLit(this);
        sector_ = sector;
        if (sector_) sector_->addLit(this);
    }
    if (position) {
        position_ = *position;
        return;
    }
    if (!sector) return;
    const CRect& box = sector->boundingRect();
    const CPoint c(box.left + box.width() / 2, box.top + box.height() / 2);
    const CPoint s = iconSize();
    const int labelBottom = owner_->labelBottom(sector);
    if (!stacked && sector->litCount() == 1) {
        position_ = c;
        if (labelBottom != -1 && position_.v - s.v / 2 < labelBottom) {
            position_.v = labelBottom + s.v / 2;
        }
        return;
    }
    const int count = owner_->pointerCount();
    const int slot = sector->startAngle() <= kPi ? index_ : count - 1 - index_;
    position_.h = c.h - (s.h + (count - 1) * kStackStepX) / 2 + kStackStepX * slot + s.h / 2;
    const int top = labelBottom != -1 ? labelBottom : c.v - (s.v + 2 * count - 2) / 2;
    position_.v = top + kStackStepY * index_ + s.v / 2;
}

void PDiskPointer::draw(CDrawContext* context) {
    const CRect r = rect();
    if (bitmap_ && bitmap_->isLoaded()) {
        bitmap_->draw(context, r);
        return;
    }
    context->setFrameColor(kBlackCColor);
    context->drawRect(r);
}
