#include "editor/PFrame.h"

#include "editor/OrinEditor.h"

PFrame::PFrame(const CRect& size, void* systemWindow, OrinEditor& editor)
    : CFrame(size, systemWindow, &editor), editor_(editor) {}

void PFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
    editor_.sweepPressHook(where);
    CFrame::mouse(context, where, buttons);
}
