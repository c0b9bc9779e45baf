// The X11 back-end: a child of the host's window on a display connection of our own. The back
// buffer is shown with XPutImage. Events reach us three ways, since Linux hosts differ: from our
// own connection, drained on every frame idle and while tracking loops wait; and through the
// _XEventProc property, a function some hosts call with the events of our window. The window
// announces itself to embedding hosts with _XEMBED_INFO.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "gui/PlatformWindow.h"

class X11Popup;

class X11Window : public PlatformWindow {
public:
    X11Window(Display* display, Window parent, CFrame& frame);
    ~X11Window() override;
    bool valid() const { return window_ != 0; }

    void present(const CRect& rect) override;
    long mouseButtons() override;
    CPoint mouseLocation() override;
    void drainEvents() override;
    bool waitForEvents() override;
    std::unique_ptr<PopupSurface> openPopup(const CRect& rect) override;
    void* nativeHandle() const override;
    void setWaitCursor(bool on) override;
    void setKeyboardFocus(bool take) override;
    void addPopup(X11Popup* popup) { popups_.push_back(popup); }
    void removePopup(X11Popup* popup);

    // The _XEventProc entry: hosts call it with events of windows they embed.
    static void eventProc(XEvent* event);

private:
    // False when the event ended with the frame (and so this window) gone.
    bool handle(XEvent& event);
    void queryPointer(CPoint* where, long* buttons);

    Display* display_;
    CFrame& frame_;
    Window window_ = 0;
    Window parent_ = 0;
    int depth_ = 0;
    Visual* visual_ = nullptr;
    std::vector<X11Popup*> popups_;
    Cursor waitCursor_ = 0;
};
