// The base of everything shown in a frame. A view's rectangle (`size`) is in its parent's
// coordinates; mouse positions given to it are in the same coordinates, and the drawing
// context's offset is set so that it draws there too.
#pragma once

#include "gui/CReferenceCounter.h"
#include "gui/GuiTypes.h"
#include "gui/VstKeys.h"

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;

// Answers of notify().
inline constexpr long kMessageUnknown = 0;
inline constexpr long kMessageNotified = 1;

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }

    // A press at `where`; buttons -1 means "read the current state".
    virtual void mouse(CDrawContext* context, CPoint& where, long buttons = -1);
    // Answers whether the wheel step was used.
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    // 1 when the key was used, -1 otherwise.
    virtual long onKeyDown(VstKeyCode& keyCode);
    virtual long onKeyUp(VstKeyCode& keyCode);
    // Messages between views ("RemoveEdit" and the like).
    virtual long notify(CView* sender, const char* message);
    virtual bool hitTest(const CPoint& where, long buttons = -1) const;

    virtual bool onDrop(CDragContainer* drag, const CPoint& where);
    virtual void onDragEnter(CDragContainer* drag, const CPoint& where);
    virtual void onDragLeave(CDragContainer* drag, const CPoint& where);
    virtual void onDragMove(CDragContainer* drag, const CPoint& where);

    virtual void takeFocus();
    virtual void looseFocus();
    // Idle work for views that asked for it with setWantsIdle.
    virtual void onIdle() {}
    void setWantsIdle(bool wants) { wantsIdle_ = wants; }
    bool wantsIdle() const { return wantsIdle_; }

    virtual bool isDirty() const { return dirty_; }
    virtual void setDirty(bool dirty = true) { dirty_ = dirty; }
    // Asks the frame to redraw this view's area on its next idle pass.
    void invalid();
    void redraw() { invalid(); }

    virtual bool attached(CView* parent);
    virtual bool removed(CView* parent);
    virtual bool isTypeOf(const char* type) const;
    virtual bool isContainer() const { return false; }

    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    CRect& getViewSize(CRect& rect) const { return rect = size; }
    const CRect& getViewSize() const { return size; }
    CCoord getWidth() const { return size.width(); }
    CCoord getHeight() const { return size.height(); }
    void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    CRect& getMouseableArea(CRect& rect) const { return rect = mouseableArea; }
    void setMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
    bool getMouseEnabled() const { return mouseEnabled_; }
    virtual void setVisible(bool visible);
    bool isVisible() const { return visible_; }
    void setTransparency(bool transparent) { transparent_ = transparent; }
    bool getTransparency() const { return transparent_; }

    // The bitmap drawn behind the view (remembered; null for none).
    virtual void setBackground(CBitmap* background);
    CBitmap* getBackground() const { return background_; }

    CFrame* getFrame() const { return frame_; }
    void setFrame(CFrame* frame) { frame_ = frame; }
    CView* getParentView() const { return parent_; }
    void setParentView(CView* parent) { parent_ = parent; }
    // Converts between this view's coordinates (its parent's) and the frame's.
    CPoint& localToFrame(CPoint& point) const;
    CPoint& frameToLocal(CPoint& point) const;
    CRect& localToFrame(CRect& rect) const;

protected:
    CRect size;
    CRect mouseableArea;

private:
    CFrame* frame_ = nullptr;
    CView* parent_ = nullptr;
    CBitmap* background_ = nullptr;
    bool dirty_ = false;
    bool mouseEnabled_ = true;
    bool visible_ = true;
    bool transparent_ = false;
    bool wantsIdle_ = false;
};
