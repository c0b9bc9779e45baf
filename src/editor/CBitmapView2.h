// The window's background: draws its bitmap and hands every press on it to the editor, which
// opens the context menu for a secondary click.
#pragma once

#include "editor/CBitmapView.h"

class OrinEditor;

class CBitmapView2 : public CBitmapView {
public:
    CBitmapView2(const CRect& size, CBitmap* bitmap, OrinEditor& editor);

    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;

private:
    OrinEditor& editor_;
};
