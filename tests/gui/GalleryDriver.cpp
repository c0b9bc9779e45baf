#include "GalleryDriver.h"

#include <filesystem>

#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/CSplashScreen.h"
#include "gui/CTextEdit.h"
#include "gui/PlatformWindow.h"

namespace {

CPoint centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void* GalleryDriver::frameWindow() const {
    return editor.getFrame()->platformWindow()->nativeHandle();
}

void GalleryDriver::exercise(const std::string& screenshot) {
    ASSERT_TRUE(editor.open(parent()));
    EXPECT_TRUE(editor.getFrame()->isNative());
    // The states are checked on every turn of a control's tracking loop too.
    editor.whileTracking = [this] { steps_.check(); };
    if (editor.getFrame()->isNative()) gestures(screenshot);
    editor.whileTracking = nullptr;
    editor.close();
}

void GalleryDriver::gestures(const std::string& screenshot) {
    CFrame* frame = editor.getFrame();
    auto move = [this](const CPoint& p) { return "xdotool mousemove " + at(p); };
    auto click = [&](const CPoint& p) { return move(p) + " click 1"; };
    auto menuOpen = [frame] { return frame->getModalView() != nullptr; };
    auto menuClosed = [frame] { return frame->getModalView() == nullptr; };

    // On/off and kick buttons, once the window shows.
    ASSERT_TRUE(
        perform({{"on/off pressed",
                  GestureSteps::pointAtWindow(at(centre(gallery::kOnOffRect))) + "xdotool click 1",
                  [&] { return editor.onOff->getValue() == 1.f; }},
                 {"kick pressed and released", click(centre(gallery::kKickRect)),
                  [&] { return editor.reports[gallery::kKick] == 2; }}}));
    EXPECT_EQ(editor.lastValue[gallery::kKick], 0.f);

    // Knob: drag up 40 pixels (0.2 of the range); the drag moves only once the press arrived.
    editor.stripKnob->setValue(0.5f);
    const CPoint k = centre(gallery::kStripKnobRect);
    ASSERT_TRUE(
        perform({{"knob pressed", move(k) + " mousedown 1",
                  [&] { return editor.editing == gallery::kStripKnob; }},
                 {"knob dragged", move(CPoint(k.h, k.v - 40)),
                  [&] { return editor.stripKnob->getValue() > 0.69f; }},
                 {"knob released", "xdotool mouseup 1", [&] { return editor.editing == -1; }}}));
    EXPECT_NEAR(editor.stripKnob->getValue(), 0.7f, 1e-4);
    // One wheel step up (0.05); the pressed knob has the keyboard, and Down steps it back.
    ASSERT_TRUE(perform(
        {{"wheel step", move(k) + " click 4", [&] { return editor.stripKnob->getValue() > 0.74f; }},
         {"Down key", "xdotool key Down", [&] { return editor.stripKnob->getValue() < 0.71f; }}}));

    // Menu: choose "Saw" (fourth entry, below a separator) once the menu is open.
    const CPoint m = gallery::kMenuRect.topLeft();
    ASSERT_TRUE(perform({{"menu open", click(m), menuOpen},
                         {"Saw chosen", click(gallery::menuEntry(m, 3, 1)),
                          [&] { return editor.menu->getCurrent() == 3 && menuClosed(); }}}));

    // A menu taller than the editor opens in a popup window; choose an entry below the frame
    // once that window is there.
    const CPoint l = gallery::kLongMenuRect.topLeft();
    const CPoint below = gallery::menuEntry(l, 29);
    ASSERT_GT(below.v, frame->getHeight());
    ASSERT_TRUE(perform(
        {{"long menu open", click(l), menuOpen},
         {"entry chosen in the popup", GestureSteps::pointAtWindow(at(below)) + "xdotool click 1",
          [&] { return editor.longMenu->getCurrent() == 29 && menuClosed(); }}}));

    // Text field: click, type, Return.
    ASSERT_TRUE(perform({{"text editing", click(centre(gallery::kTextRect)),
                          [&] { return editor.text->isEditing(); }},
                         {"text committed", "xdotool key Q u o r Return",
                          [&] { return editor.reports[gallery::kText] == 1; }}}));
    EXPECT_STREQ(editor.lastText, "Quor");

    // The screenshot shows the menu and its submenu open over the gallery; Escape closes them.
    const std::filesystem::path file = hostPath(screenshot);
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);
    const std::string corner = at(CPoint(0, 0));
    const std::string crop =
        "735x449+" + corner.substr(0, corner.find(' ')) + "+" + corner.substr(corner.find(' ') + 1);
    const int drawnBefore = editor.submenuEntriesDrawn;
    ASSERT_TRUE(
        perform({{"menu open", click(m), menuOpen},
                 {"submenu open", move(gallery::menuEntry(m, 4, 1)),
                  [&] { return editor.submenuEntriesDrawn > drawnBefore; }},
                 {"screenshot taken", "import -window root -crop " + crop + " " + screenshot,
                  [&] { return std::filesystem::exists(file); }},
                 {"menu closed", "xdotool key Escape", menuClosed}}));

    // Splash: open and click away.
    ASSERT_TRUE(perform({{"splash open", click(centre(gallery::kSplashArea)),
                          [&] { return editor.splash->isOpen(); }},
                         {"splash closed", click(centre(gallery::kSplashDisplay)),
                          [&] { return !editor.splash->isOpen(); }}}));
}
