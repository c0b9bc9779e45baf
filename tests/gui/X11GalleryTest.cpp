// The gallery in a real X11 window, parented like a host parents an editor, driven by xdotool;
// the screenshot is left in <build>/gui-screenshots/x11-gallery.png.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdlib>

#include "GalleryDriver.h"
#include "X11TestHost.h"

namespace {

class X11Host : public GalleryDriver {
public:
    explicit X11Host(Display* display) : display_(display) {
        host_ = openMappedWindow(display_, 735, 449);
    }
    ~X11Host() override { XDestroyWindow(display_, host_); }

private:
    void* parent() override { return reinterpret_cast<void*>(std::uintptr_t(host_)); }
    std::string at(const CPoint& p) override {
        int x = 0, y = 0;
        Window unused;
        XTranslateCoordinates(display_, Window(reinterpret_cast<std::uintptr_t>(frameWindow())),
                              DefaultRootWindow(display_), p.h, p.v, &x, &y, &unused);
        return std::to_string(x) + " " + std::to_string(y);
    }
    void startShell(const std::string& command) override {
        ASSERT_TRUE(startInBackground(command));
    }
    void hostTurn() override { editor.idle(); }
    std::string hostPath(const std::string& path) override { return path; }

    Display* display_;
    Window host_ = 0;
};

TEST(X11Gallery, EveryControlWorksInARealWindow) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (the suite runs this under xvfb-run)";
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "cannot connect to the X display " << std::getenv("DISPLAY");
    if (std::system("xdotool version > /dev/null 2>&1") != 0) {
        XCloseDisplay(display);
        GTEST_SKIP() << "xdotool is not installed";
    }
    X11Host(display).exercise(QUOR_SCREENSHOTS "/x11-gallery.png");
    XCloseDisplay(display);
}

}  // namespace
