// A popup for the X11 back-end: an override-redirect window on the root, painted again from the
// kept pixels on every exposure.
#pragma once

#include <X11/Xlib.h>

#include "gui/PlatformWindow.h"

class CBitmap;
class X11Window;

class X11Popup : public PopupSurface {
public:
    // `rect` is in the frame coordinates of `owner`, whose window gives the screen position.
    X11Popup(X11Window& owner, Display* display, Window frameWindow, Visual* visual, int depth,
             const CRect& rect);
    ~X11Popup() override;

    void show(const CBitmap& pixels) override;
    Window window() const { return window_; }
    const CRect& frameRect() const { return rect_; }
    // Puts the kept pixels on the screen again.
    void repaint();

private:
    X11Window& owner_;
    Display* display_;
    Visual* visual_;
    int depth_;
    CRect rect_;
    Window window_ = 0;
};
