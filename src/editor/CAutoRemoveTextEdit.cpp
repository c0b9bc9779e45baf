#include "editor/CAutoRemoveTextEdit.h"

#include <cstring>

#include "gui/CFrame.h"

CAutoRemoveTextEdit::CAutoRemoveTextEdit(const CRect& size, CControlListener* listener, long tag,
                                         const char* text, CBitmap* background, long style)
    : CTextEdit(size, listener, tag, text, background, style) {}

void CAutoRemoveTextEdit::takeFocus() {
    CFrame* frame = getFrame();
    if (frame && frame->getFocusView() != this) {
        frame->setFocusView(this);  // takes the focus through here again
        return;
    }
    CTextEdit::takeFocus();
}

void CAutoRemoveTextEdit::looseFocus() {
    ++nesting_;
    CTextEdit::looseFocus();
    --nesting_;
    if (nesting_ > 0) return;
    CView* parent = getParentView();
    CViewContainer* container = nullptr;
    if (parent && parent->isContainer())
        container = static_cast<CViewContainer*>(parent);
    else if (!parent)
        container = getFrame();
    if (!container || !container->isChild(this)) return;
    ++nesting_;
    remember();  // the container's reference may be the last one
    container->notify(this, kRemoveEdit);
    container->removeView(this);
    --nesting_;
    forget();
}

bool CAutoRemoveTextEdit::removed(CView* parent) {
    if (isEditing()) {
        ++nesting_;
        CTextEdit::looseFocus();  // commits
        --nesting_;
    }
    return CTextEdit::removed(parent);
}

bool CAutoRemoveTextEdit::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CAutoRemoveTextEdit") == 0) || CTextEdit::isTypeOf(type);
}
