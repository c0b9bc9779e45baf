// The page area: shows one content view at a time (a page) in its own coordinates, so a page
// laid out from (0, 0) appears where the area is. Drawing, mouse, wheel and drag-and-drop reach
// the content as they reach a container's child; keys and idle calls are passed on too. The
// content is held by reference, so a page can be shown, replaced and shown again.
#pragma once

#include "gui/CViewContainer.h"

class CPlaceholderView : public CViewContainer {
public:
    CPlaceholderView(const CRect& size, CFrame* frame);

    // The old content is removed (and this area's reference to it released); the new one is
    // retained, attached and drawn. Null shows nothing.
    void setContent(CView* content);
    CView* getContent() const { return content_; }

    long onKeyDown(VstKeyCode& keyCode) override;
    long onKeyUp(VstKeyCode& keyCode) override;
    bool removeView(CView* view, bool withForget = true) override;

private:
    CView* content_ = nullptr;
};
