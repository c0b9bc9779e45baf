#include "gui/CDropTarget.h"

#include "gui/CDragContainer.h"
#include "gui/CFrame.h"

void CDropTarget::dragEnter(CDragContainer* drag, const CPoint& where) {
    if (frame_ && drag) frame_->onDragEnter(drag, where);
}

void CDropTarget::dragMove(CDragContainer* drag, const CPoint& where) {
    if (frame_ && drag) frame_->onDragMove(drag, where);
}

void CDropTarget::dragLeave(CDragContainer* drag, const CPoint& where) {
    if (frame_ && drag) frame_->onDragLeave(drag, where);
}

bool CDropTarget::drop(CDragContainer* drag, const CPoint& where) {
    return frame_ && drag && frame_->onDrop(drag, where);
}
