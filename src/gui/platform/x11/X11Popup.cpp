#include "gui/platform/x11/X11Popup.h"

#include "gui/CBitmap.h"
#include "gui/platform/x11/X11Image.h"
#include "gui/platform/x11/X11Window.h"

X11Popup::X11Popup(X11Window& owner, Display* display, Window frameWindow, Visual* visual,
                   int depth, const CRect& rect)
    : owner_(owner), display_(display), visual_(visual), depth_(depth), rect_(rect) {
    Window root = DefaultRootWindow(display_), unused = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(display_, frameWindow, root, rect.left, rect.top, &x, &y, &unused);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.colormap = XCreateColormap(display_, root, visual_, AllocNone);
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask;
    window_ =
        XCreateWindow(display_, root, x, y, unsigned(rect.width()), unsigned(rect.height()), 0,
                      depth_, InputOutput, visual_,
                      CWOverrideRedirect | CWColormap | CWBorderPixel | CWEventMask, &attributes);
    if (!window_) return;
    XMapRaised(display_, window_);
    owner_.addPopup(this);
}

X11Popup::~X11Popup() {
    if (window_) {
        owner_.removePopup(this);
        XDestroyWindow(display_, window_);
        XFlush(display_);
    }
}

void X11Popup::show(const CBitmap& pixels) {
    keep(pixels);
    repaint();
}

void X11Popup::repaint() {
    if (CBitmap* pixels = kept()) {
        putBitmap(display_, window_, visual_, depth_, *pixels,
                  CRect(0, 0, pixels->getWidth(), pixels->getHeight()));
    }
}
