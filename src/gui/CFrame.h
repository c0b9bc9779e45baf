// The root view: owns the window (native child of the host's window, or headless), the back
// buffer every view draws into, the invalid region that idle processing redraws, the modal view
// and the focus view, and routes mouse, wheel and key input.
#pragma once

#include <memory>
#include <vector>

#include "gui/CViewContainer.h"

class CBitmap;
class CDrawContext;
class HeadlessWindow;
class PlatformWindow;

// The editor that owns a frame: told of control gestures and asked for idle processing.
class CFrameOwner {
public:
    virtual ~CFrameOwner() = default;
    virtual void beginEdit(long tag) = 0;
    virtual void endEdit(long tag) = 0;
    // Work to do whenever a mouse-tracking loop idles; normally ends in frame idle().
    virtual void doIdleStuff() = 0;
    // How knobs follow the mouse (CKnobMode).
    virtual int getKnobMode() const = 0;
    // The editor's own idle work, run by a back-end timer for hosts that call it too rarely.
    virtual void timerIdle() = 0;
};

class CFrame : public CViewContainer {
public:
    // A frame of `size` (moved to the origin) in a child window of `systemWindow` (HWND or X11
    // Window id); with no system window, or when the window cannot be made, it is headless.
    CFrame(const CRect& size, void* systemWindow, CFrameOwner* owner);
    ~CFrame() override;

    CFrameOwner* getEditor() const { return owner_; }
    bool isNative() const;
    HeadlessWindow* headless() const;
    PlatformWindow* platformWindow() const { return window_.get(); }
    CBitmap* getBackBuffer() const { return backBuffer_; }

    // Redraws the invalid region and every dirty view, shows the result, and runs idle hooks.
    void idle();
    // What a tracking loop calls each turn: the owner's idle work, then a short wait for events.
    // False when no further input can come (a headless frame whose script is used up), so that
    // loops waiting for a choice give up.
    bool doIdleStuff();
    int getKnobMode() const;
    void invalidRect(const CRect& rect);
    bool hasInvalidRegion() const { return !invalid_.empty(); }

    // The modal view gets every press, wheel step and key while it is set and visible. A view
    // that is not yet a child of the frame is added on top (taking over the caller's reference)
    // and removed again when the modal view is cleared, which hands the reference back. Fails
    // while another modal view is set.
    bool setModalView(CView* view);
    CView* getModalView() const { return modal_; }
    // The busy cursor over the window while a long operation runs on this thread.
    void setWaitCursor(bool on);
    void setFocusView(CView* view);
    CView* getFocusView() const { return focus_; }
    // A text field starts or stops taking typed keys (PlatformWindow::setKeyboardFocus).
    void setKeyboardFocus(bool take);

    void beginEdit(long tag);
    void endEdit(long tag);
    long getCurrentMouseButtons();
    CPoint getCurrentMouseLocation();

    // ---- Input from the window back-end (frame coordinates) ----
    // A press; false when the frame's owner released it meanwhile, so that it is gone now and
    // the caller must not touch it (or anything it owns) again.
    bool onMouseDown(const CPoint& where, long buttons);
    // Answers whether a view used the step.
    bool onMouseWheel(const CPoint& where, float distance);
    // A back-end timer's tick: the owner's idle work (or the frame's), unless a tracking loop
    // is running, which idles by itself.
    void onTimer();

    void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    long onKeyDown(VstKeyCode& keyCode) override;
    long onKeyUp(VstKeyCode& keyCode) override;
    bool isTypeOf(const char* type) const override;

    // Called by views when they leave the tree, so that no pointer to them stays behind.
    void viewRemoved(CView* view);

private:
    CDrawContext* rootContext();
    void collectDirtyViews();

    CFrameOwner* owner_;
    std::unique_ptr<PlatformWindow> window_;
    CBitmap* backBuffer_ = nullptr;
    std::unique_ptr<CDrawContext> context_;
    std::vector<CRect> invalid_;
    CView* modal_ = nullptr;
    bool modalAdded_ = false;
    CView* focus_ = nullptr;
    int mouseDepth_ = 0;
};
