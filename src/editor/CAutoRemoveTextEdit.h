// A text field for one edit: it opens with the focus, and when its editing ends (Enter, Escape,
// or the focus going elsewhere, which commits like Enter) it tells its parent view (or the frame)
// "RemoveEdit" and removes itself from it. Removed by its container while still editing, it
// commits first, so typed text is never lost.
#pragma once

#include "gui/CTextEdit.h"

class CAutoRemoveTextEdit : public CTextEdit {
public:
    static constexpr const char* kRemoveEdit = "RemoveEdit";

    CAutoRemoveTextEdit(const CRect& size, CControlListener* listener, long tag, const char* text,
                        CBitmap* background = nullptr, long style = 0);

    // Becomes the frame's focus view (so that a press elsewhere or the end of editing is seen)
    // before it starts editing.
    void takeFocus() override;
    void looseFocus() override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;

private:
    // Depth of the field's own end-of-editing handling: committing may end up here again (the
    // focus is given away, the listener reacts), and only the outermost call removes the field.
    int nesting_ = 0;
};
