// The built module's editor in a real X11 window, parented like a host parents an editor and
// driven by xdotool; screenshots are left in <build>/gui-screenshots/editor-x11-*.png.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "EditorDriver.h"
#include "gui/X11TestHost.h"

namespace {

class X11Host : public EditorDriver {
public:
    explicit X11Host(Display* display) : EditorDriver("editor-x11"), display_(display) {
        host_ = openMappedWindow(display_, OrinEditor::kWidth, OrinEditor::kHeight);
    }
    ~X11Host() override { XDestroyWindow(display_, host_); }

private:
    void* parent() override { return reinterpret_cast<void*>(std::uintptr_t(host_)); }
    std::string at(const CPoint& p) override {
        int x = 0, y = 0;
        Window unused;
        XTranslateCoordinates(display_, host_, DefaultRootWindow(display_), p.h, p.v, &x, &y,
                              &unused);
        return std::to_string(x) + " " + std::to_string(y);
    }
    void startShell(const std::string& command) override {
        ASSERT_TRUE(startInBackground(command));
    }
    void pumpMessages() override {
        while (XPending(display_)) {
            XEvent e;
            XNextEvent(display_, &e);
        }
    }
    std::string hostPath(const std::string& path) override { return path; }
    bool altHeld() override {
        char keys[32];
        XQueryKeymap(display_, keys);
        for (KeySym alt : {XK_Alt_L, XK_Alt_R}) {
            const KeyCode code = XKeysymToKeycode(display_, alt);
            if (code && (keys[code / 8] & (1 << (code % 8)))) return true;
        }
        return false;
    }

    Display* display_;
    Window host_ = 0;
};

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display (the suite runs this under xvfb-run)";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "cannot connect to the X display " << std::getenv("DISPLAY");
        if (std::system("xdotool version > /dev/null 2>&1 && import -version > /dev/null 2>&1"))
            GTEST_SKIP() << "xdotool or ImageMagick's import is not installed";
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
    }
    Display* display = nullptr;
};

TEST_F(X11Editor, PageButtonsAboutScreenAndIconDrag) {
    X11Host(display).useTheWindow();
}

TEST_F(X11Editor, EachPageDrivenByHandTellsTheHostAndChangesTheSound) {
    X11Host(display).useThePages();
}

TEST_F(X11Editor, AnEnvelopePointDraggedTellsTheHostAndSlowsTheAttack) {
    X11Host(display).useTheEnvelopePage();
}

TEST_F(X11Editor, AGlissandoOnTheKeyboardSoundsEveryKeyAndLetsThemGo) {
    X11Host(display).playTheKeyboard();
}

TEST_F(X11Editor, OpensAndClosesManyTimesWhileNotesPlay) {
    X11Host(display).soak(QUOR_EDITOR_SOAK_ROUNDS / 10);
}

TEST_F(X11Editor, OpensOverAMissingOrDamagedLibrary) {
    // The missing library is reported on standard error and in the log of the configuration
    // folder, which this test keeps to itself.
    TempFolder config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    X11Host(display).openOver(hosted::Library::kNone, "no-library");
    X11Host(display).openOver(hosted::Library::kDamaged, "damaged-library");
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
