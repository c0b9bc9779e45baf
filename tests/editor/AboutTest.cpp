// The context menu, the about screen and the controller list, on a headless frame.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "MenuGeometry.h"
#include "core/PControllerMap.h"
#include "editor/CAboutView.h"
#include "editor/ContextMenu.h"
#include "editor/ContextMenuActions.h"
#include "editor/PAboutScreen.h"
#include "editor/PAboutView.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/COffscreenContext.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "platform/TempFolder.h"

namespace {

const CRect kWindow(0, 0, 735, 449);

// A frame owner that runs a hook on every turn of a tracking loop (an open menu).
class Owner : public CFrameOwner {
public:
    void beginEdit(long) override {}
    void endEdit(long) override {}
    void doIdleStuff() override {
        if (whileTracking) whileTracking();
        frame->idle();
    }
    int getKnobMode() const override { return kLinearMode; }
    void timerIdle() override {}
    CFrame* frame = nullptr;
    std::function<void()> whileTracking;
};

class Actions : public ContextMenuActions {
public:
    void showAboutScreen() override { done.push_back("about"); }
    void showControllerList() override { done.push_back("controllers"); }
    const char* pluginPath() const override { return path.c_str(); }
    std::string path;
    std::vector<std::string> done;
};

std::vector<std::string> opened;
bool recordPdf(const char* path) {
    opened.push_back("pdf " + std::string(path));
    return true;
}
bool recordSite(const char* path) {
    opened.push_back("site " + std::string(path));
    return true;
}

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrame(kWindow, nullptr, &owner);
        owner.frame = frame;
        window = frame->headless();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { frame->forget(); }
    // The pixel at `p` of the frame's back buffer.
    CColor pixel(const CPoint& p) const { return frame->getBackBuffer()->getPixel(p.h, p.v); }

    Owner owner;
    CFrame* frame = nullptr;
    HeadlessWindow* window = nullptr;
};

}  // namespace

// ---- Context menu ----

TEST_F(Headless, MenuEntriesRunTheirActions) {
    Actions actions;
    const char sep = platform::kPathSeparator;
    const std::string folder = std::string(1, sep) + "plugins" + sep;
    actions.path = folder + "Quor.so";
    ContextMenu menu(actions, recordPdf, recordSite);
    const CPoint at(100, 200), top(100, 202);  // the menu opens 2 pixels lower
    const std::string docs = folder + "documentation" + sep + "eng" + sep;
    const struct {
        int index, separatorsAbove;
        std::vector<std::string> done, opened;
    } cases[] = {
        {0, 0, {}, {"pdf " + docs + "QUOR_Manual.pdf"}},
        {1, 0, {}, {"site " + docs + "html" + sep + "index.html"}},
        {3, 1, {"about"}, {}},
        {4, 1, {"controllers"}, {}},
    };
    for (const auto& c : cases) {
        actions.done.clear();
        opened.clear();
        const CPoint entry = menuEntry(top, c.index, c.separatorsAbove);
        window->queueMouse(at, 0);
        window->queueMouse(entry, kLButton);
        window->queueMouse(entry, 0);
        EXPECT_TRUE(menu.popup(frame, at));
        EXPECT_EQ(actions.done, c.done) << c.index;
        EXPECT_EQ(opened, c.opened) << c.index;
        EXPECT_FALSE(menu.isOpen());
        EXPECT_EQ(frame->getNbViews(), 0);  // the menu left the container
        EXPECT_EQ(frame->getModalView(), nullptr);
    }
    // Without a plug-in path, help opens nothing; a dismissed menu does nothing.
    actions.path.clear();
    actions.done.clear();
    opened.clear();
    window->queueMouse(at, 0);
    window->queueMouse(menuEntry(top, 0, 0), kLButton);
    menu.popup(frame, at);
    window->queueMouse(at, 0);
    window->queueMouse(CPoint(700, 20), kLButton);
    menu.popup(frame, at);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(actions.done.empty());
}

TEST_F(Headless, OnlyOneMenuOpensAndOtherModesShowNothing) {
    Actions actions;
    ContextMenu menu(actions, recordPdf, recordSite);
    int secondAnswers = 0, turns = 0;
    owner.whileTracking = [&] {
        ++turns;
        if (menu.popup(frame, CPoint(10, 10))) ++secondAnswers;
    };
    window->queueMouse(CPoint(50, 50), 0);
    window->queueMouse(CPoint(50, 50), 0);
    EXPECT_TRUE(menu.popup(frame, CPoint(50, 50)));
    EXPECT_GT(turns, 0);
    EXPECT_EQ(secondAnswers, 0);
    owner.whileTracking = nullptr;

    turns = 0;
    owner.whileTracking = [&] { ++turns; };
    EXPECT_FALSE(menu.popup(frame, CPoint(50, 50), 1));
    EXPECT_EQ(turns, 0);
    EXPECT_EQ(frame->getNbViews(), 0);
}

// ---- Controller list ----

TEST(ControllerList, LinesNameTheMappedParameters) {
    TempFolder folder;
    folder.write(PControllerMap::kFileName, "005:master volume\r\n030:unused\r\n");
    PControllerMap::loadFrom(folder.path().c_str());
    const struct {
        int controller;
        const char* text;
    } lines[] = {{5, "005: Master Volume"}, {7, "007: -"}, {30, "030: -"}, {127, "127: -"}};
    for (const auto& l : lines) {
        char text[64];
        PAboutView::lineText(l.controller, text, sizeof text);
        EXPECT_STREQ(text, l.text);
    }
    PControllerMap::reset();
}

TEST_F(Headless, EveryControllerHasALineInsideTheWindow) {
    CRect box, previous;
    for (int c = 0; c < PAboutView::kControllers; ++c) {
        ASSERT_TRUE(PAboutView::lineBox(kWindow, c, box)) << c;
        EXPECT_GE(box.left, kWindow.left) << c;
        EXPECT_LE(box.right, kWindow.right) << c;
        EXPECT_GE(box.top, PAboutView::kTop) << c;
        // Clear of the ticker at the bottom.
        EXPECT_LE(box.bottom, kWindow.bottom - PAboutView::kBottomMargin) << c;
        // Down the column, or at the top of the next one; no two lines share a place.
        if (c > 0 && box.left == previous.left) {
            EXPECT_GE(box.top, previous.top + 9) << c;
        } else if (c > 0) {
            EXPECT_EQ(box.left, previous.left + PAboutView::kColumnStep) << c;
            EXPECT_EQ(box.top, PAboutView::kTop) << c;
        }
        previous = box;
    }
    EXPECT_FALSE(PAboutView::lineBox(kWindow, PAboutView::kControllers, box));
    EXPECT_FALSE(PAboutView::lineBox(kWindow, -1, box));

    // The screen shows controller 127's line in white over its dark backdrop.
    auto* screen = new PAboutScreen(nullptr, 10000, nullptr, kWindow, CRect(40, 10, 160, 40));
    frame->addView(screen);
    screen->splash();
    frame->idle();
    ASSERT_TRUE(PAboutView::lineBox(kWindow, 127, box));
    int bright = 0;
    for (CCoord y = box.top; y < box.bottom; ++y) {
        for (CCoord x = box.left; x < box.left + 30; ++x) {
            const CColor c = pixel(CPoint(x, y));
            bright += c.red > 160 && c.green > 160 && c.blue > 160;
        }
    }
    EXPECT_GT(bright, 10);
}

// ---- About view ----

TEST(AboutView, VersionTexts) {
    const struct {
        std::uint32_t version;
        const char* text;
    } cases[] = {
        {0x20004, "Version 2.0.4 "},      {0x12010, "Version 1.1 beta"},
        {0x31025, "Version 3.2.5 alpha"}, {0x23000, "Version 2.0 alpha"},  // alpha wins
        {0x4000, "Version 0.0 RC"},       {0x10FF0, "Version 1.255 "},
    };
    for (const auto& c : cases) {
        char text[64];
        CAboutView::formatVersion(c.version, text, sizeof text);
        EXPECT_STREQ(text, c.text) << std::hex << c.version;
    }
}

namespace {
std::uint32_t now = 0;
std::uint32_t testClock() {
    return now;
}
}  // namespace

TEST_F(Headless, TickerStepsAtMostEvery150MsAndWraps) {
    auto* screen = new CAboutScreen(nullptr, 10000, nullptr, kWindow, CRect(40, 10, 160, 40));
    frame->addView(screen);
    CAboutView& view = screen->aboutView();
    view.setTickSource(testClock);
    view.setTickerText("abc");
    now = 1000;
    screen->splash();
    frame->idle();
    // (time, index after an idle pass at that time)
    const std::pair<std::uint32_t, std::size_t> steps[] = {
        {1100, 0}, {1149, 0}, {1150, 1}, {1299, 1}, {1300, 2}, {2000, 0}, {2100, 0},
    };
    for (auto [t, index] : steps) {
        now = t;
        frame->idle();
        EXPECT_EQ(view.getTickerIndex(), index) << t;
    }
    // A step asks for the ticker to be redrawn; a pass without one does not.
    now = 2250;
    view.onIdle();
    EXPECT_TRUE(frame->hasInvalidRegion());
    frame->idle();
    now = 2300;
    view.onIdle();
    EXPECT_FALSE(frame->hasInvalidRegion());
    // The clock wrapping around does not stop the ticker.
    now = 0xFFFFFFF0u;
    view.onIdle();
    const std::size_t before = view.getTickerIndex();
    now = 0x00000100u;
    view.onIdle();
    EXPECT_NE(view.getTickerIndex(), before);
}
