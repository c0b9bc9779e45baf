#include "editor/CPlaceholderView.h"

CPlaceholderView::CPlaceholderView(const CRect& size, CFrame* frame)
    : CViewContainer(size, frame) {}

void CPlaceholderView::setContent(CView* content) {
    if (content == content_) return;
    if (content_) removeView(content_);
    if (content) {
        content->remember();
        addView(content);
        content_ = content;
    }
    invalid();
}

bool CPlaceholderView::removeView(CView* view, bool withForget) {
    if (view == content_) content_ = nullptr;
    return CViewContainer::removeView(view, withForget);
}

long CPlaceholderView::onKeyDown(VstKeyCode& keyCode) {
    return content_ && content_->isVisible() ? content_->onKeyDown(keyCode) : -1;
}

long CPlaceholderView::onKeyUp(VstKeyCode& keyCode) {
    return content_ && content_->isVisible() ? content_->onKeyUp(keyCode) : -1;
}
