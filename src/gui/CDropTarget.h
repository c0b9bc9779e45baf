// Receives a drag for one frame from the window back-end and hands it to the view under the
// pointer (frame coordinates).
#pragma once

#include "gui/GuiTypes.h"

class CDragContainer;
class CFrame;

// Receives drags for one frame and routes them to the view under the pointer.
class CDropTarget {
public:
    explicit CDropTarget(CFrame* frame) : frame_(frame) {}
    void dragEnter(CDragContainer* drag, const CPoint& where);
    void dragMove(CDragContainer* drag, const CPoint& where);
    void dragLeave(CDragContainer* drag, const CPoint& where);
    bool drop(CDragContainer* drag, const CPoint& where);

private:
    CFrame* frame_;
};
