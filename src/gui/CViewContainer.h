// A view holding other views. Its children's rectangles are relative to the container's top-left
// corner; it draws its background (colour and/or bitmap) and then its visible children in order,
// and hands mouse, wheel and drag events to the topmost visible child under the pointer.
#pragma once

#include <vector>

#include "gui/CView.h"

class CViewContainer : public CView {
public:
    CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
    ~CViewContainer() override;

    // Takes over the caller's reference to `view`.
    virtual bool addView(CView* view);
    bool addView(CView* view, CView* before);
    // Removes `view`; with `withForget` the container's reference is dropped.
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    long getNbViews() const { return long(views_.size()); }
    CView* getView(long index) const;
    // The topmost visible child under `where` (container coordinates of the parent).
    CView* getViewAt(const CPoint& where) const;

    void setBackgroundColor(const CColor& color) { backgroundColor_ = color; }
    CColor getBackgroundColor() const { return backgroundColor_; }

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    // Draws the background part of `updateRect` (local coordinates).
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);
    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool onDrop(CDragContainer* drag, const CPoint& where) override;
    void onDragEnter(CDragContainer* drag, const CPoint& where) override;
    void onDragLeave(CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDragContainer* drag, const CPoint& where) override;
    bool hitTest(const CPoint& where, long buttons = -1) const override;

    bool isDirty() const override;
    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    bool isTypeOf(const char* type) const override;
    bool isContainer() const override { return true; }

    // Calls `visit` for every descendant view, depth first.
    template <typename Visit>
    void forEachDescendant(Visit&& visit) const {
        for (CView* v : views_) {
            visit(v);
            if (v->isContainer()) static_cast<CViewContainer*>(v)->forEachDescendant(visit);
        }
    }

protected:
    // Runs `action(child, localPoint, context)` on the topmost child under `where`; false when
    // there is none. The context's offset is moved to the container's origin meanwhile.
    template <typename Action>
    bool withChildAt(CDrawContext* context, const CPoint& where, long buttons, Action&& action);

    const std::vector<CView*>& views() const { return views_; }

private:
    std::vector<CView*> views_;
    CColor backgroundColor_ = kTransparentCColor;
};
