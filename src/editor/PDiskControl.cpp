#include "editor/PDiskControl.h"

#include <cstring>

#include "editor/CBitmapCollection.h"
#include "editor/PDiskDescriptor.h"
#include "editor/PDiskPointer.h"
#include "editor/PDiskSector.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"

namespace {
// What shows where the background bitmap is missing: the editor's graphite body.
constexpr CColor kBodyColor{34, 38, 46, 255};
constexpr std::uint32_t kMaskOpaque = 0xFF000000u;
constexpr std::uint32_t kMaskTransparent = 0xFFFFFFFFu;
}  // namespace

PDiskControl::PDiskControl(const CRect& size, CControlListener* listener, long tag,
                           PDiskDescriptor* descriptor, const CPoint* centre,
                           CBitmapCollection* normal, CBitmapCollection* lit, CBitmap* background,
                           const CPoint& backgroundOffset)
    : CControl(size, listener, tag, background),
      descriptor_(descriptor),
      normal_(normal),
      lit_(lit),
      backgroundOffset_(backgroundOffset) {
    if (normal_) normal_->remember();
    if (lit_) lit_->remember();
    if (!descriptor_) return;
    if (descriptor_->sectorCount() == 0) descriptor_->build();
    descriptor_->setControl(this);
    descriptor_->setCentre(centre ? *centre : CPoint(size.width() / 2, size.height() / 2));
    descriptor_->placePointers(10);
}

PDiskControl::~PDiskControl() {
    // The descriptor outlives every window; it must not keep pointing here.
    if (descriptor_ && descriptor_->control() == this) descriptor_->setControl(nullptr);
    if (normal_) normal_->forget();
    if (lit_) lit_->forget();
    if (offscreen_) offscreen_->forget();
    if (diskMask_) diskMask_->forget();
}

CBitmapCollection* PDiskControl::buildSectorImages(PDiskDescriptor& descriptor, CBitmap* source,
                                                   const CPoint& centre) {
    auto* images = new CBitmapCollection(descriptor.sectorCount());
    if (!source || !source->isLoaded()) return images;
    const CPoint c = descriptor.centre();
    const CPoint shift(centre.h - c.h, centre.v - c.v);  // control to source coordinates
    const std::uint32_t* from = source->pixels();
    for (int id = 0; id < descriptor.sectorCount(); ++id) {
        PDiskSector& s = *descriptor.sectorById(id);
        const CRect area = s.imageRect();
        auto* image = new CBitmap(area.width(), area.height());
        auto* mask = new CBitmap(area.width(), area.height());
        std::uint32_t* to = image->pixels();
        std::uint32_t* m = mask->pixels();
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x, ++to, ++m) {
                const int sx = x + shift.h, sy = y + shift.v;
                const bool inSource = sx >= 0 && sy >= 0 && sx < source->getWidth() &&
                                      sy < source->getHeight();
                const bool inside =
                    inSource && descriptor.inSectorArea(s, x + 0.5 - c.h, c.v - (y + 0.5));
                *m = inside ? kMaskOpaque : kMaskTransparent;
                if (inside) *to = from[std::size_t(sy) * std::size_t(source->getWidth()) + sx];
            }
        }
        image->setTransparencyMask(mask);
        mask->forget();
        images->set(id, image);
        image->forget();
    }
    return images;
}

void PDiskControl::draw(CDrawContext* context) {
    drawRect(context, size);
}

void PDiskControl::drawRect(CDrawContext* context, const CRect& updateRect) {
    CRect area = updateRect;
    area.bound(size).offset(-size.left, -size.top);
    if (!context || area.isEmpty()) return;
    paint(area);
    copyToScreen(context, area);
    setDirty(false);
}

void PDiskControl::paint(const CRect& area) {
    if (!offscreen_) {
        offscreen_ = new CBitmap(getWidth(), getHeight());
        makeDiskMask();
    }
    COffscreenContext context(offscreen_, getFrame());
    context.setClipRect(area);
    const CRect whole(0, 0, getWidth(), getHeight());
    CBitmap* background = getBackground();
    if (background && background->isLoaded()) {
        background->draw(&context, whole, backgroundOffset_);
    } else {
        context.setFillColor(kBodyColor);
        context.fillRect(area);
    }
    if (!descriptor_) return;
    for (int id = 0; id < descriptor_->sectorCount(); ++id) {
        PDiskSector* s = descriptor_->sectorById(id);
        const CRect r = s->imageRect();
        if (!r.rectOverlap(area)) continue;
        CBitmapCollection* images = s->litCount() > 0 ? lit_ : normal_;
        if (CBitmap* image = images ? images->get(id) : nullptr) image->drawTransparent(&context, r);
    }
    for (int i = 0; i < descriptor_->pointerCount(); ++i) {
        PDiskPointer* p = descriptor_->pointer(i);
        if (p->rect().rectOverlap(area)) p->draw(&context);
    }
    // Labels lie over the icons; a label box may reach beyond its sector, so every label is
    // drawn (clipped to the area).
    for (int id = 0; id < descriptor_->sectorCount(); ++id) {
        descriptor_->sectorById(id)->drawLabel(&context, area);
    }
}

void PDiskControl::makeDiskMask() {
    if (!descriptor_ || descriptor_->ringCount() == 0) return;
    // The disk with its rim: the outer ellipse grown by a few pixels.
    constexpr double kRim = 3.0;
    const PRing& outer = descriptor_->ring(descriptor_->ringCount() - 1);
    const double a = outer.horizontalRadius + kRim, b = outer.verticalRadius + kRim;
    const CPoint c = descriptor_->centre();
    diskMask_ = new CBitmap(getWidth(), getHeight());
    std::uint32_t* pixels = diskMask_->pixels();
    for (CCoord y = 0; y < getHeight(); ++y) {
        for (CCoord x = 0; x < getWidth(); ++x) {
            const double dx = x + 0.5 - c.h, dy = y + 0.5 - c.v;
            const bool inside = dx * dx / (a * a) + dy * dy / (b * b) <= 1.0;
            pixels[y * getWidth() + x] = inside ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
    offscreen_->setTransparencyMask(diskMask_);
}

void PDiskControl::copyToScreen(CDrawContext* context, const CRect& area) {
    COffscreenContext offscreen(offscreen_, getFrame());
    CRect dest = area;
    offscreen.copyTransparent(context, dest.offset(size.left, size.top), area.topLeft());
}

void PDiskControl::invalidLocal(const CRect& rect) {
    if (!getFrame()) return;
    CRect r = rect;
    r.bound(CRect(0, 0, getWidth(), getHeight())).offset(size.left, size.top);
    getFrame()->invalidRect(localToFrame(r));
}

bool PDiskControl::hitTest(const CPoint& where, long) const {
    return descriptor_ && size.pointInside(where) &&
           descriptor_->insideDisk(descriptor_->toCentre(toLocal(where)));
}

void PDiskControl::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!descriptor_ || !context || !getMouseEnabled()) return;
    if (buttons == -1) buttons = context->getMouseButtons();
    const CPoint at = toLocal(where);
    PDiskPointer* hit = descriptor_->pointerAt(at);
    PDiskSector* sector = descriptor_->sectorAt(descriptor_->toCentre(at));
    if (hit) descriptor_->pointerPicked(hit);
    if (hit && (buttons & kLButton) && !isSecondaryClick(buttons) && context->detectDrag(where)) {
        trackDrag(context, hit, at);
    } else if (sector && isSecondaryClick(buttons)) {
        if (sector->openMenu(context, at)) invalid();
    } else if (sector) {
        plainClick(hit, sector);
    }
    descriptor_->pointerReleased(selected_);
}

void PDiskControl::plainClick(PDiskPointer* hit, PDiskSector* sector) {
    if (!selected_) selected_ = descriptor_->pointer(0);
    if (hit) {
        selected_ = hit;
    } else if (selected_) {
        selected_->setSector(nullptr, sector, false);
        descriptor_->layoutPointers();
        invalid();
    }
    if (selected_) descriptor_->pointerPicked(selected_);
}

void PDiskControl::trackDrag(CDrawContext* context, PDiskPointer* icon, const CPoint& start) {
    selected_ = icon;
    dragging_ = true;
    dragPosition_ = start;
    beginEdit();  // the listener groups the icon's parameter changes as one gesture
    while (getFrame() && (context->getMouseButtons() & kMouseButtons)) {
        CPoint mouse;
        const CPoint p = descriptor_->clampToDisk(*icon, toLocal(context->getMouseLocation(mouse)));
        if (p != dragPosition_) {
            dragPosition_ = p;
            setValue(0);
            valueChanged();
        }
        if (!getFrame()->doIdleStuff()) break;
    }
    endEdit();
    dragging_ = false;
    descriptor_->layoutPointers();  // dropped icons snap to their sectors
    invalid();
}

bool PDiskControl::dragPosition(int& index, CPoint& centrePos) const {
    if (!dragging_ || !selected_ || !descriptor_) return false;
    index = selected_->index();
    centrePos = descriptor_->toCentre(dragPosition_);
    return true;
}

void PDiskControl::moveIcon(int index, const CPoint& centrePos) {
    PDiskPointer* icon = descriptor_ ? descriptor_->pointer(index) : nullptr;
    PDiskSector* sector = icon ? descriptor_->sectorAt(centrePos) : nullptr;
    if (!sector) return;
    const CPoint at = descriptor_->toControl(centrePos);
    if (!dragging_) {
        icon->setSector(&at, sector, false);
        invalid();
        return;
    }
    // While dragging only what the icon leaves and reaches is redrawn.
    PDiskSector* left = icon->sector();
    invalidLocal(icon->rect());
    icon->setSector(&at, sector, false);
    invalidLocal(icon->rect());
    if (left != sector) {
        if (left) invalidLocal(left->imageRect());
        invalidLocal(sector->imageRect());
    }
}

void PDiskControl::refreshDirtySectors(CDrawContext* context) {
    if (!descriptor_) return;
    for (int id = 0; id < descriptor_->sectorCount(); ++id) {
        PDiskSector* s = descriptor_->sectorById(id);
        if (!s->hasFlag(PDiskSector::kNeedsRedraw)) continue;
        s->setFlag(PDiskSector::kNeedsRedraw, false);
        CRect area = s->imageRect();
        area.bound(CRect(0, 0, getWidth(), getHeight()));
        if (!context) {
            invalidLocal(area);
            continue;
        }
        paint(area);
        copyToScreen(context, area);
    }
}

bool PDiskControl::removed(CView* parent) {
    if (offscreen_) offscreen_->forget();
    offscreen_ = nullptr;
    if (diskMask_) diskMask_->forget();
    diskMask_ = nullptr;
    return CControl::removed(parent);
}

bool PDiskControl::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "PDiskControl") == 0) || CControl::isTypeOf(type);
}
