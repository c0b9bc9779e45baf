#include "gui/CView.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

CView::CView(const CRect& r) : size(r), mouseableArea(r) {}

CView::~CView() {
    if (background_) background_->forget();
}

void CView::draw(CDrawContext* context) {
    if (background_) {
        if (transparent_) {
            background_->drawTransparent(context, size);
        } else {
            background_->draw(context, size);
        }
    }
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect&) {
    draw(context);
}

void CView::mouse(CDrawContext*, CPoint&, long) {}
bool CView::onWheel(CDrawContext*, const CPoint&, float) {
    return false;
}
long CView::onKeyDown(VstKeyCode&) {
    return -1;
}
long CView::onKeyUp(VstKeyCode&) {
    return -1;
}
long CView::notify(CView*, const char*) {
    return kMessageUnknown;
}
bool CView::hitTest(const CPoint& where, long) const {
    return mouseableArea.pointInside(where);
}

bool CView::onDrop(CDragContainer*, const CPoint&) {
    return false;
}
void CView::onDragEnter(CDragContainer*, const CPoint&) {}
void CView::onDragLeave(CDragContainer*, const CPoint&) {}
void CView::onDragMove(CDragContainer*, const CPoint&) {}

void CView::takeFocus() {}
void CView::looseFocus() {}

void CView::invalid() {
    if (!frame_) return;
    CRect r = size;
    frame_->invalidRect(localToFrame(r));
}

bool CView::attached(CView* parent) {
    parent_ = parent;
    if (parent && parent->getFrame()) frame_ = parent->getFrame();
    return true;
}

bool CView::removed(CView*) {
    if (frame_) frame_->viewRemoved(this);
    parent_ = nullptr;
    return true;
}

bool CView::isTypeOf(const char* type) const {
    return type && std::strcmp(type, "CView") == 0;
}

void CView::setViewSize(const CRect& rect, bool invalidate) {
    if (invalidate) invalid();
    size = rect;
    if (invalidate) invalid();
    setDirty(true);
}

void CView::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    invalid();
}

void CView::setBackground(CBitmap* background) {
    if (background) background->remember();
    if (background_) background_->forget();
    background_ = background;
    setDirty(true);
}

CPoint& CView::localToFrame(CPoint& point) const {
    for (const CView* p = parent_; p; p = p->getParentView()) {
        point.offset(p->size.left, p->size.top);
    }
    return point;
}

CPoint& CView::frameToLocal(CPoint& point) const {
    for (const CView* p = parent_; p; p = p->getParentView()) {
        point.offset(-p->size.left, -p->size.top);
    }
    return point;
}

CRect& CView::localToFrame(CRect& rect) const {
    CPoint origin = rect.topLeft();
    localToFrame(origin);
    return rect.moveTo(origin.h, origin.v);
}
