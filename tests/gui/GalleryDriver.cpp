#include "GalleryDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/CSplashScreen.h"
#include "gui/CTextEdit.h"
#include "platform/Platform.h"

namespace {
CPoint centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
constexpr std::uint32_t kTurnMs = 10;
}  // namespace

bool GalleryDriver::pumpUntil(const std::function<bool()>& done, std::uint32_t timeoutMs) {
    std::uint32_t start = platform::tickCount();
    while (!done()) {
        if (platform::tickCount() - start > timeoutMs) return false;
        hostTurn();
        platform::sleepMs(kTurnMs);
    }
    pumpFor(100);
    return true;
}

void GalleryDriver::pumpFor(std::uint32_t ms) {
    std::uint32_t start = platform::tickCount();
    while (platform::tickCount() - start < ms) {
        hostTurn();
        platform::sleepMs(kTurnMs);
    }
}

std::string screenshotPath(const char* name) {
    const char* build = std::getenv("QUOR_BINARY_DIR");
    return std::string(build ? build : "/tmp") + "/gui-screenshots/" + name;
}

void exerciseGallery(GalleryDriver& d, GalleryEditor& editor, const std::string& screenshot) {
    d.pumpFor(300);
    // On/off button and kick button.
    d.xdotool("mousemove " + d.at(centre(gallery::kOnOffRect)) + " click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.onOff->getValue() == 1.f; }));
    d.xdotool("mousemove " + d.at(centre(gallery::kKickRect)) + " click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.reports[gallery::kKick] == 2; }));
    EXPECT_EQ(editor.lastValue[gallery::kKick], 0.f);

    // Knob: drag up 40 pixels (0.2 of the range), then one wheel step up (0.05).
    editor.stripKnob->setValue(0.5f);
    CPoint k = centre(gallery::kStripKnobRect);
    d.xdotool("mousemove " + d.at(k) + " mousedown 1 sleep 0.2 mousemove " +
              d.at(CPoint(k.h, k.v - 40)) + " sleep 0.3 mouseup 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.stripKnob->getValue() > 0.69f; }));
    d.pumpFor(400);
    EXPECT_NEAR(editor.stripKnob->getValue(), 0.7f, 1e-4);
    d.xdotool("mousemove " + d.at(k) + " click 4");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.stripKnob->getValue() > 0.74f; }));
    // The pressed knob has the keyboard: Down steps it back.
    d.xdotool("key Down");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.stripKnob->getValue() < 0.71f; }));

    // Menu: open it, then choose "Saw" (fourth entry, below a separator).
    CPoint m = gallery::kMenuRect.topLeft();
    CPoint saw = gallery::menuEntry(m, 3, 1);
    d.xdotool("mousemove " + d.at(m) + " click 1 sleep 0.3 mousemove " + d.at(saw) +
              " sleep 0.2 click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.menu->getCurrent() == 3; }));

    // A menu taller than the editor opens in a popup window; choose an entry below the frame.
    CPoint l = gallery::kLongMenuRect.topLeft();
    CPoint below = gallery::menuEntry(l, 29);
    ASSERT_GT(below.v, editor.getFrame()->getHeight());
    d.xdotool("mousemove " + d.at(l) + " click 1 sleep 0.3 mousemove " + d.at(below) +
              " sleep 0.2 click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.longMenu->getCurrent() == 29; }));
    EXPECT_TRUE(d.pumpUntil([&] { return editor.getFrame()->getModalView() == nullptr; }));

    // Text field: click, type, Return.
    d.xdotool("mousemove " + d.at(centre(gallery::kTextRect)) +
              " click 1 sleep 0.2 key --delay 30 Q u o r Return");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.reports[gallery::kText] == 1; }));
    EXPECT_STREQ(editor.lastText, "Quor");

    // The screenshot shows the menu and its submenu open over the gallery; Escape closes them.
    CPoint origin = CPoint(0, 0);
    std::string corner = d.at(origin);
    std::string crop =
        "735x449+" + corner.substr(0, corner.find(' ')) + "+" + corner.substr(corner.find(' ') + 1);
    CPoint more = gallery::menuEntry(m, 4, 1);
    d.startShell("mkdir -p $(dirname " + screenshot + "); rm -f " + screenshot +
                 "; xdotool mousemove " + d.at(m) + " click 1 sleep 0.3 mousemove " + d.at(more) +
                 " sleep 0.5; import -window root -crop " + crop + " " + screenshot +
                 "; xdotool key Escape");
    EXPECT_TRUE(d.pumpUntil([&] { return d.fileExists(screenshot); }));
    EXPECT_TRUE(d.pumpUntil([&] { return editor.getFrame()->getModalView() == nullptr; }));

    // Splash: open and click away.
    d.xdotool("mousemove " + d.at(centre(gallery::kSplashArea)) + " click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return editor.splash->isOpen(); }));
    d.xdotool("mousemove " + d.at(centre(gallery::kSplashDisplay)) + " click 1");
    EXPECT_TRUE(d.pumpUntil([&] { return !editor.splash->isOpen(); }));
}
