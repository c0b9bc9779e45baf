#include "gui/CViewContainer.h"

#include <algorithm>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

namespace {
// Moves the context's origin and clip for the span of one scope.
class ContextOrigin {
public:
    ContextOrigin(CDrawContext* context, const CPoint& by) : context_(context) {
        if (!context_) return;
        saved_ = context_->getOffset();
        context_->getClipRect(savedClip_);
        CPoint moved = saved_;
        context_->setOffset(moved.offset(by.h, by.v));
    }
    ~ContextOrigin() {
        if (!context_) return;
        context_->setOffset(saved_);
        context_->setClipRect(savedClip_);
    }

private:
    CDrawContext* context_;
    CPoint saved_;
    CRect savedClip_;
};
}  // namespace

CViewContainer::CViewContainer(const CRect& size, CFrame* frame, CBitmap* background)
    : CView(size) {
    setFrame(frame);
    if (background) setBackground(background);
}

CViewContainer::~CViewContainer() {
    removeAll();
}

bool CViewContainer::addView(CView* view) {
    return addView(view, nullptr);
}

bool CViewContainer::addView(CView* view, CView* before) {
    if (!view || isChild(view)) return false;
    auto at = std::find(views_.begin(), views_.end(), before);
    views_.insert(at, view);
    view->setFrame(getFrame());
    view->attached(this);
    view->invalid();
    return true;
}

bool CViewContainer::removeView(CView* view, bool withForget) {
    auto at = std::find(views_.begin(), views_.end(), view);
    if (at == views_.end()) return false;
    view->invalid();
    views_.erase(at);
    view->removed(this);
    if (withForget) view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget) {
    while (!views_.empty()) removeView(views_.back(), withForget);
    return true;
}

bool CViewContainer::isChild(const CView* view) const {
    return view && std::find(views_.begin(), views_.end(), view) != views_.end();
}

CView* CViewContainer::getView(long index) const {
    return (index >= 0 && index < getNbViews()) ? views_[std::size_t(index)] : nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where) const {
    CPoint local = where;
    local.offset(-size.left, -size.top);
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        if ((*it)->isVisible() && (*it)->getViewSize().pointInside(local)) return *it;
    }
    return nullptr;
}

void CViewContainer::draw(CDrawContext* context) {
    drawRect(context, size);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
    if (backgroundColor_.alpha != 0) {
        CColor fill = context->getFillColor();
        context->setFillColor(backgroundColor_);
        context->fillRect(updateRect);
        context->setFillColor(fill);
    }
    if (CBitmap* bg = getBackground()) {
        // The bitmap's pixel (x, y) lies at the container's local (x, y).
        bg->draw(context, updateRect, updateRect.topLeft());
    }
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (!context) return;
    CRect local = updateRect;
    local.bound(size).offset(-size.left, -size.top);
    if (local.isEmpty()) return;
    ContextOrigin origin(context, size.topLeft());
    CRect clip;
    context->getClipRect(clip);
    clip.bound(local);
    context->setClipRect(clip);
    drawBackgroundRect(context, local);
    for (CView* v : views_) {
        if (!v->isVisible() || !v->checkUpdate(local)) continue;
        CRect part = clip;
        part.bound(v->getViewSize());
        context->setClipRect(part);
        v->drawRect(context, part);
    }
    context->setClipRect(clip);
    setDirty(false);
}

template <typename Action>
bool CViewContainer::withChildAt(CDrawContext* context, const CPoint& where, long buttons,
                                 Action&& action) {
    CPoint local = where;
    local.offset(-size.left, -size.top);
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* v = *it;
        if (!v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
        ContextOrigin origin(context, size.topLeft());
        action(v, local);
        return true;
    }
    return false;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, long buttons) {
    withChildAt(context, where, buttons,
                [&](CView* v, CPoint& local) { v->mouse(context, local, buttons); });
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    bool used = false;
    withChildAt(context, where, -1,
                [&](CView* v, CPoint& local) { used = v->onWheel(context, local, distance); });
    return used;
}

bool CViewContainer::onDrop(CDragContainer* drag, const CPoint& where) {
    bool used = false;
    withChildAt(nullptr, where, -1,
                [&](CView* v, CPoint& local) { used = v->onDrop(drag, local); });
    return used;
}

void CViewContainer::onDragEnter(CDragContainer* drag, const CPoint& where) {
    withChildAt(nullptr, where, -1, [&](CView* v, CPoint& local) { v->onDragEnter(drag, local); });
}

void CViewContainer::onDragLeave(CDragContainer* drag, const CPoint& where) {
    withChildAt(nullptr, where, -1, [&](CView* v, CPoint& local) { v->onDragLeave(drag, local); });
}

void CViewContainer::onDragMove(CDragContainer* drag, const CPoint& where) {
    withChildAt(nullptr, where, -1, [&](CView* v, CPoint& local) { v->onDragMove(drag, local); });
}

bool CViewContainer::hitTest(const CPoint& where, long buttons) const {
    return CView::hitTest(where, buttons) || size.pointInside(where);
}

bool CViewContainer::isDirty() const {
    if (CView::isDirty()) return true;
    return std::any_of(views_.begin(), views_.end(),
                       [](const CView* v) { return v->isVisible() && v->isDirty(); });
}

bool CViewContainer::attached(CView* parent) {
    CView::attached(parent);
    for (CView* v : views_) {
        v->setFrame(getFrame());
        v->attached(this);
    }
    return true;
}

bool CViewContainer::removed(CView* parent) {
    for (CView* v : views_) v->removed(this);
    return CView::removed(parent);
}

bool CViewContainer::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CViewContainer") == 0) || CView::isTypeOf(type);
}
