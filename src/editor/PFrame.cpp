#include "editor/PFrame.h"

#include "editor/OrinEditor.h"
#include "editor/PEditor.h"

PFrame::PFrame(const CRect& size, void* systemWindow, OrinEditor& editor)
    : CFrame(size, systemWindow, &editor), editor_(editor) {}

void PFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
    editor_.sweepPressHook(where);
    CFrame::mouse(context, where, buttons);
}

long PFrame::onKeyDown(VstKeyCode& keyCode) {
    const long used = CFrame::onKeyDown(keyCode);
    if (used != -1 || (getModalView() && getModalView()->isVisible())) return used;
    PEditor* page = editor_.page(editor_.currentPage());
    return page ? page->onKeyDown(keyCode) : -1;
}
