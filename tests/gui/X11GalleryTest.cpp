// The gallery in a real X11 window, parented like a host parents an editor: clicks, drags, wheel
// steps and typing are sent with xdotool, the resulting values are checked, and a screenshot is
// left in the build folder (gui-screenshots/x11-gallery.png).
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "Gallery.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/CSplashScreen.h"
#include "gui/CTextEdit.h"
#include "gui/PlatformWindow.h"
#include "platform/Platform.h"

namespace {

constexpr int kHostX = 40, kHostY = 30;
constexpr std::uint32_t kTimeoutMs = 8000;

class X11Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display (run under xvfb-run)";
        if (std::system("xdotool version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
        host = XCreateSimpleWindow(display, DefaultRootWindow(display), kHostX, kHostY, 735, 449, 0,
                                   0, 0);
        XSelectInput(display, host, StructureNotifyMask);
        XMapWindow(display, host);
        for (XEvent e;;) {
            XNextEvent(display, &e);
            if (e.type == MapNotify) break;
        }
        ASSERT_TRUE(editor.open(reinterpret_cast<void*>(std::uintptr_t(host))));
        ASSERT_TRUE(editor.getFrame()->isNative());
        child = Window(reinterpret_cast<std::uintptr_t>(
            editor.getFrame()->platformWindow()->nativeHandle()));
        pumpFor(300);
    }
    void TearDown() override {
        if (!display) return;
        editor.close();
        XDestroyWindow(display, host);
        XCloseDisplay(display);
    }

    // Runs the host's side for `ms`: editor idle about every 10 ms.
    void pumpFor(std::uint32_t ms) {
        std::uint32_t start = platform::tickCount();
        while (platform::tickCount() - start < ms) {
            editor.idle();
            platform::sleepMs(10);
        }
    }
    // Pumps until `done` holds (true) or the time-out passes (false).
    bool pumpUntil(const std::function<bool()>& done) {
        std::uint32_t start = platform::tickCount();
        while (!done()) {
            if (platform::tickCount() - start > kTimeoutMs) return false;
            editor.idle();
            platform::sleepMs(10);
        }
        pumpFor(100);
        return true;
    }
    // Screen position of a frame point.
    std::string at(const CPoint& p) {
        int x = 0, y = 0;
        Window unused;
        XTranslateCoordinates(display, child, DefaultRootWindow(display), p.h, p.v, &x, &y,
                              &unused);
        return std::to_string(x) + " " + std::to_string(y);
    }
    // Starts xdotool with `commands` (and any shell commands after a ";") in the background, so
    // that our loop keeps running meanwhile.
    void xdotool(const std::string& commands) {
        std::string line = "(xdotool " + commands + ") > /dev/null 2>&1 &";
        ASSERT_EQ(std::system(line.c_str()), 0);
    }
    static CPoint centre(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    Display* display = nullptr;
    Window host = 0, child = 0;
    GalleryEditor editor;
};

TEST_F(X11Gallery, ControlsWorkByMouseWheelAndKeyboardAndScreenshotIsTaken) {
    // On/off button and kick button.
    xdotool("mousemove " + at(centre(gallery::kOnOffRect)) + " click 1");
    EXPECT_TRUE(pumpUntil([&] { return editor.onOff->getValue() == 1.f; }));
    xdotool("mousemove " + at(centre(gallery::kKickRect)) + " click 1");
    EXPECT_TRUE(pumpUntil([&] { return editor.reports[gallery::kKick] == 2; }));
    EXPECT_EQ(editor.lastValue[gallery::kKick], 0.f);

    // Knob: drag up 40 pixels (0.2 of the range), then one wheel step up (0.05).
    editor.stripKnob->setValue(0.5f);
    CPoint k = centre(gallery::kStripKnobRect);
    xdotool("mousemove " + at(k) + " mousedown 1 sleep 0.2 mousemove " +
            at(CPoint(k.h, k.v - 40)) + " sleep 0.3 mouseup 1");
    EXPECT_TRUE(pumpUntil([&] { return editor.stripKnob->getValue() > 0.69f; }));
    pumpFor(400);
    EXPECT_NEAR(editor.stripKnob->getValue(), 0.7f, 1e-4);
    xdotool("mousemove " + at(k) + " click 4");
    EXPECT_TRUE(pumpUntil([&] { return editor.stripKnob->getValue() > 0.74f; }));

    // Menu: open it, then choose "Saw" (fourth entry, below a separator).
    CPoint m = gallery::kMenuRect.topLeft();
    CPoint saw(m.h + 30, m.v + 1 + 17 + 17 + 7 + 8);
    xdotool("mousemove " + at(m) + " click 1 sleep 0.3 mousemove " + at(saw) +
            " sleep 0.2 click 1");
    EXPECT_TRUE(pumpUntil([&] { return editor.menu->getCurrent() == 3; }));

    // Text field: click, type, Return.
    xdotool("mousemove " + at(centre(gallery::kTextRect)) +
            " click 1 sleep 0.2 key --delay 30 Q u o r Return");
    EXPECT_TRUE(pumpUntil([&] { return editor.reports[gallery::kText] == 1; }));
    EXPECT_STREQ(editor.lastText, "Quor");

    // The menu open over the gallery makes the screenshot show most of the toolkit at once.
    std::filesystem::path folder =
        std::filesystem::path(std::getenv("QUOR_BINARY_DIR") ? std::getenv("QUOR_BINARY_DIR") : ".") /
        "gui-screenshots";
    std::filesystem::create_directories(folder);
    std::string shot = (folder / "x11-gallery.png").string();
    std::filesystem::remove(shot);
    CPoint more(m.h + 30, m.v + 1 + 17 * 3 + 7 + 8);
    xdotool("mousemove " + at(m) + " click 1 sleep 0.3 mousemove " + at(more) + " sleep 0.5; " +
            "import -window root -crop 735x449+" + std::to_string(kHostX) + "+" +
            std::to_string(kHostY) + " " + shot + "; xdotool key Escape");
    EXPECT_TRUE(pumpUntil([&] { return std::filesystem::exists(shot); }));
    EXPECT_TRUE(pumpUntil([&] { return editor.getFrame()->getModalView() == nullptr; }));

    // Splash: open and click away.
    xdotool("mousemove " + at(centre(gallery::kSplashArea)) + " click 1");
    EXPECT_TRUE(pumpUntil([&] { return editor.splash->isOpen(); }));
    xdotool("mousemove " + at(centre(gallery::kSplashDisplay)) + " click 1");
    EXPECT_TRUE(pumpUntil([&] { return !editor.splash->isOpen(); }));
}

}  // namespace
