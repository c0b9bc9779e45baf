#include "gui/platform/x11/X11Image.h"

#include <X11/Xutil.h>

#include "gui/CBitmap.h"

void putBitmap(Display* display, Window window, Visual* visual, int depth, CBitmap& pixels,
               const CRect& rect) {
    CRect r = rect;
    r.bound(CRect(0, 0, pixels.getWidth(), pixels.getHeight()));
    if (!window || r.isEmpty()) return;
    XImage* image = XCreateImage(
        display, visual, unsigned(depth), ZPixmap, 0, reinterpret_cast<char*>(pixels.pixels()),
        unsigned(pixels.getWidth()), unsigned(pixels.getHeight()), 32, pixels.getWidth() * 4);
    if (!image) return;
    image->byte_order = LSBFirst;
    XPutImage(display, window, DefaultGC(display, DefaultScreen(display)), image, r.left, r.top,
              r.left, r.top, unsigned(r.width()), unsigned(r.height()));
    image->data = nullptr;  // the pixels belong to the bitmap
    XDestroyImage(image);
    XFlush(display);
}
