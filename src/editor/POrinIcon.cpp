#include "editor/POrinIcon.h"

#include "core/PPreset.h"
#include "editor/POrinDiskDescriptor.h"
#include "editor/PDiskSector.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

namespace {
constexpr CColor kLayerColors[] = {
    {255, 176, 64, 255},   // Base: amber
    {72, 204, 232, 255},   // Top: cyan
    {172, 128, 248, 255},  // Filter: violet
};
constexpr const char* kLayerNames[] = {"Base", "Top", "Filter"};
constexpr CColor kInk{22, 24, 29, 255};
}  // namespace

POrinIcon::POrinIcon(POrinDiskDescriptor* owner, int index)
    : PDiskPointer(owner, index, new CBitmap(kFirstBitmap + index)), orin_(owner) {
    fallbackSize_ = {38, 25};  // the size of the icon bitmaps, so layouts do not change
}

CColor POrinIcon::layerColor(int layer) {
    return layer >= 0 && layer < 3 ? kLayerColors[layer] : kGreyCColor;
}

void POrinIcon::setSector(const CPoint* position, PDiskSector* sector, bool stacked) {
    const bool changed = sector && sector != this->sector();
    PDiskPointer::setSector(position, sector, stacked);
    if (changed) orin_->preset().setIcon(index(), sector->id());
}

void POrinIcon::draw(CDrawContext* context) {
    if (bitmap() && bitmap()->isLoaded()) {
        PDiskPointer::draw(context);
        return;
    }
    const CRect r = rect();
    context->setFillColor(layerColor(index()));
    context->setFrameColor(kInk);
    context->drawRect(r, kDrawFilledAndStroked);
    context->setFont(kNormalFontSmaller);
    context->setFontColor(kInk);
    context->drawString(index() >= 0 && index() < 3 ? kLayerNames[index()] : "", r);
}
