#include "gui/platform/x11/X11Popup.h"

#include <X11/Xutil.h>

#include "gui/CBitmap.h"
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
    if (pixels_) pixels_->forget();
}

void X11Popup::show(const CBitmap& pixels) {
    if (!pixels_ || pixels_->getWidth() != pixels.getWidth() ||
        pixels_->getHeight() != pixels.getHeight()) {
        if (pixels_) pixels_->forget();
        pixels_ = new CBitmap(pixels.getWidth(), pixels.getHeight());
    }
    std::copy(pixels.pixels(),
              pixels.pixels() + std::size_t(pixels.getWidth()) * std::size_t(pixels.getHeight()),
              pixels_->pixels());
    repaint();
}

void X11Popup::repaint() {
    if (!window_ || !pixels_) return;
    XImage* image = XCreateImage(
        display_, visual_, unsigned(depth_), ZPixmap, 0, reinterpret_cast<char*>(pixels_->pixels()),
        unsigned(pixels_->getWidth()), unsigned(pixels_->getHeight()), 32, pixels_->getWidth() * 4);
    if (!image) return;
    image->byte_order = LSBFirst;
    XPutImage(display_, window_, DefaultGC(display_, DefaultScreen(display_)), image, 0, 0, 0, 0,
              unsigned(pixels_->getWidth()), unsigned(pixels_->getHeight()));
    image->data = nullptr;  // the pixels belong to the bitmap
    XDestroyImage(image);
    XFlush(display_);
}
