#include "gui/CFrame.h"

#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {
constexpr std::size_t kMaxInvalidRects = 16;
}

CFrame::CFrame(const CRect& size, void* systemWindow, CFrameOwner* owner)
    : CViewContainer(CRect(0, 0, size.width(), size.height()), this), owner_(owner) {
    backBuffer_ = new CBitmap(std::max(size.width(), 1), std::max(size.height(), 1));
    context_ = std::make_unique<CDrawContext>(this, backBuffer_);
    if (systemWindow) window_ = createNativeWindow(systemWindow, *this);
    if (!window_) window_ = std::make_unique<HeadlessWindow>(*this);
    invalidRect(getViewSize());
}

CFrame::~CFrame() {
    modal_ = nullptr;
    focus_ = nullptr;
    removeAll();
    window_.reset();
    context_.reset();
    backBuffer_->forget();
}

bool CFrame::isNative() const {
    return window_->nativeHandle() != nullptr;
}

HeadlessWindow* CFrame::headless() const {
    return dynamic_cast<HeadlessWindow*>(window_.get());
}

CDrawContext* CFrame::rootContext() {
    context_->setOffset({});
    context_->resetClipRect();
    return context_.get();
}

void CFrame::invalidRect(const CRect& rect) {
    CRect r = rect;
    r.bound(getViewSize());
    if (r.isEmpty()) return;
    // Keep the region a short list of disjoint rectangles by merging overlapping ones.
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = invalid_.begin(); it != invalid_.end(); ++it) {
            if (it->rectOverlap(r)) {
                r.unite(*it);
                invalid_.erase(it);
                merged = true;
                break;
            }
        }
    }
    invalid_.push_back(r);
    if (invalid_.size() > kMaxInvalidRects) {
        CRect all;
        for (const CRect& each : invalid_) all.unite(each);
        invalid_.assign(1, all);
    }
}

void CFrame::collectDirtyViews() {
    forEachDescendant([](CView* v) {
        bool dirty = v->isContainer() ? v->CView::isDirty() : v->isDirty();
        if (!dirty) return;
        v->invalid();
        v->setDirty(false);
    });
}

void CFrame::idle() {
    window_->drainEvents();
    forEachDescendant([](CView* v) {
        if (v->wantsIdle() && v->isVisible()) v->onIdle();
    });
    collectDirtyViews();
    if (invalid_.empty()) return;
    std::vector<CRect> region;
    region.swap(invalid_);
    // A tracking loop may be idling here with the context moved to a nested view's container,
    // where it reads the pointer; drawing leaves the context as it found it.
    const CPoint offset = context_->getOffset();
    CRect clip;
    context_->getClipRect(clip);
    for (const CRect& r : region) {
        CDrawContext* context = rootContext();
        context->setClipRect(r);
        drawRect(context, r);
    }
    context_->setOffset(offset);
    context_->setClipRect(clip);
    for (const CRect& r : region) window_->present(r);
}

bool CFrame::doIdleStuff() {
    if (owner_) {
        owner_->doIdleStuff();
    } else {
        idle();
    }
    return window_->waitForEvents();
}

int CFrame::getKnobMode() const {
    return owner_ ? owner_->getKnobMode() : kLinearMode;
}

bool CFrame::setModalView(CView* view) {
    if (view && modal_) return false;
    if (modal_) {
        CView* old = modal_;
        modal_ = nullptr;
        if (modalAdded_) removeView(old, false);
        modalAdded_ = false;
    }
    if (!view) return true;
    // A view already in the frame becomes modal where it is; any other view is added on top.
    modalAdded_ = !isChild(view);
    if (modalAdded_ && !addView(view)) return false;
    modal_ = view;
    return true;
}

void CFrame::setFocusView(CView* view) {
    if (view == focus_) return;
    CView* old = focus_;
    focus_ = view;
    if (old) old->looseFocus();
    if (focus_ == view && view) view->takeFocus();
}

void CFrame::setKeyboardFocus(bool take) {
    if (window_) window_->setKeyboardFocus(take);
}

void CFrame::setWaitCursor(bool on) {
    if (window_) window_->setWaitCursor(on);
}

void CFrame::beginEdit(long tag) {
    if (owner_) owner_->beginEdit(tag);
}

void CFrame::endEdit(long tag) {
    if (owner_) owner_->endEdit(tag);
}

long CFrame::getCurrentMouseButtons() {
    return window_->mouseButtons();
}
CPoint CFrame::getCurrentMouseLocation() {
    return window_->mouseLocation();
}

bool CFrame::onMouseDown(const CPoint& where, long buttons) {
    CPoint p = where;
    if (mouseDepth_ > 0) {
        // A loop started by an earlier press is running and polls the state itself; only a
        // modal view (an open menu) is told, so that a click too short for polling still counts.
        if (modal_ && modal_->isVisible()) modal_->mouse(rootContext(), p, buttons);
        return true;
    }
    // The loops a press may start dispatch the thread's messages, among them perhaps the host's
    // request to close the editor; holding a reference keeps the frame until the press is over.
    remember();
    mouse(rootContext(), p, buttons);
    idle();
    const bool kept = getNbReference() > 1;
    forget();
    return kept;
}

bool CFrame::onMouseWheel(const CPoint& where, float distance) {
    if (mouseDepth_ > 0) return false;
    bool used = onWheel(rootContext(), where, distance);
    idle();
    return used;
}

void CFrame::onTimer() {
    if (mouseDepth_ > 0) return;
    if (owner_) {
        owner_->timerIdle();
    } else {
        idle();
    }
}

void CFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (buttons == -1) buttons = getCurrentMouseButtons();
    ++mouseDepth_;
    if (modal_ && modal_->isVisible()) {
        modal_->mouse(context, where, buttons);
    } else {
        if (focus_) {
            CRect r = focus_->getViewSize();
            if (!focus_->localToFrame(r).pointInside(where)) setFocusView(nullptr);
        }
        CViewContainer::mouse(context, where, buttons);
    }
    --mouseDepth_;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    if (modal_ && modal_->isVisible()) return modal_->onWheel(context, where, distance);
    return CViewContainer::onWheel(context, where, distance);
}

long CFrame::onKeyDown(VstKeyCode& keyCode) {
    if (focus_) {
        long used = focus_->onKeyDown(keyCode);
        if (used != -1) return used;
    }
    if (modal_ && modal_->isVisible()) return modal_->onKeyDown(keyCode);
    return -1;
}

long CFrame::onKeyUp(VstKeyCode& keyCode) {
    if (focus_) {
        long used = focus_->onKeyUp(keyCode);
        if (used != -1) return used;
    }
    if (modal_ && modal_->isVisible()) return modal_->onKeyUp(keyCode);
    return -1;
}

bool CFrame::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CFrame") == 0) || CViewContainer::isTypeOf(type);
}

void CFrame::viewRemoved(CView* view) {
    if (focus_ == view) focus_ = nullptr;
    if (modal_ == view) modal_ = nullptr;
}
