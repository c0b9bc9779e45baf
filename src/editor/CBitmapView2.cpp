#include "editor/CBitmapView2.h"

#include "editor/OrinEditor.h"
#include "gui/CDrawContext.h"

CBitmapView2::CBitmapView2(const CRect& size, CBitmap* bitmap, OrinEditor& editor)
    : CBitmapView(size, bitmap), editor_(editor) {}

void CBitmapView2::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (buttons == -1) buttons = context->getMouseButtons();
    CPoint inFrame = where;
    editor_.contextMenuHook(localToFrame(inFrame), buttons);
}
