// The editor's frame: a press first reaches the editor's sweep hook (a press ends the palette's
// opening sweep), then goes where a frame sends it (a modal view that shows takes it alone).
// Keys (from the window itself or forwarded by the host) go where a frame sends them, and those
// nobody took (and no modal view holds) to the page that shows.
#pragma once

#include "gui/CFrame.h"

class OrinEditor;

class PFrame : public CFrame {
public:
    PFrame(const CRect& size, void* systemWindow, OrinEditor& editor);

    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    long onKeyUp(VstKeyCode& keyCode) override;

private:
    long routeKey(VstKeyCode& keyCode, bool down);

    OrinEditor& editor_;
};
