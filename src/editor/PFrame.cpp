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
    return routeKey(keyCode, true);
}

long PFrame::onKeyUp(VstKeyCode& keyCode) {
    return routeKey(keyCode, false);
}

long PFrame::routeKey(VstKeyCode& keyCode, bool down) {
    const long used = down ? CFrame::onKeyDown(keyCode) : CFrame::onKeyUp(keyCode);
    if (used != -1 || (getModalView() && getModalView()->isVisible())) return used;
    PEditor* page = editor_.page(editor_.currentPage());
    if (!page) return -1;
    return down ? page->onKeyDown(keyCode) : page->onKeyUp(keyCode);
}
