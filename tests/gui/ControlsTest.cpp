// Behaviour of every control under scripted mouse, wheel and key input, on a headless frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "Gallery.h"
#include "gui/CKickButton.h"
#include "gui/CKnob.h"
#include "gui/COnOffButton.h"
#include "gui/COptionMenu.h"
#include "gui/CParamDisplay.h"
#include "gui/CSplashScreen.h"
#include "gui/CTextEdit.h"
#include "gui/platform/headless/HeadlessWindow.h"

namespace {

CPoint centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

VstKeyCode character(char c) {
    return VstKeyCode{c, 0, 0};
}
VstKeyCode virtualKey(unsigned char virt, unsigned char modifier = 0) {
    return VstKeyCode{0, virt, modifier};
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(editor.open(nullptr));
        frame = editor.getFrame();
        window = frame->headless();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { editor.close(); }

    // A press at `at`; the script then holds the buttons along `path` and releases.
    void drag(const CPoint& at, std::initializer_list<CPoint> path, long buttons = kLButton) {
        for (const CPoint& p : path) window->queueMouse(p, buttons);
        frame->onMouseDown(at, buttons);
    }
    void click(const CPoint& at, long buttons = kLButton) { drag(at, {}, buttons); }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) {
            VstKeyCode key = character(*c);
            editor.onKeyDown(key);
        }
    }
    bool key(unsigned char virt, unsigned char modifier = 0) {
        VstKeyCode k = virtualKey(virt, modifier);
        return editor.onKeyDown(k);
    }

    GalleryEditor editor;
    CFrame* frame = nullptr;
    HeadlessWindow* window = nullptr;
};

TEST_F(Controls, KnobDragFollowsVerticalMovementAndShiftIsFiner) {
    CKnob* knob = editor.stripKnob;
    knob->setValue(0.5f);
    CPoint c = centre(gallery::kStripKnobRect);
    drag(c, {{c.h, c.v - 20}, {c.h, c.v - 40}});
    // 200 pixels span the range: 40 pixels up add 0.2.
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-5);
    EXPECT_NEAR(editor.lastValue[gallery::kStripKnob], 0.7f, 1e-5);
    EXPECT_EQ(editor.reports[gallery::kStripKnob], 2);
    // The display shows it through its own text conversion; without one, with two decimals.
    char text[CParamDisplay::kTextCapacity];
    editor.display->formatValue(text);
    EXPECT_STREQ(text, "Knob 70%");
    CParamDisplay plain(CRect(0, 0, 10, 10));
    plain.setValue(-1.255f);
    plain.formatValue(text);
    EXPECT_STREQ(text, "-1.25");

    drag(c, {{c.h, c.v - 40}}, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.72f, 1e-5);

    // Pressing Shift halfway re-anchors: no jump, then fine steps.
    knob->setValue(0.5f);
    drag(c, {{c.h, c.v - 20}, {c.h, c.v - 20}, {c.h, c.v - 40}});
    window->queueMouse({c.h, c.v - 20}, kLButton | kShift);
    window->queueMouse({c.h, c.v - 60}, kLButton | kShift);
    frame->onMouseDown(c, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.7f + 0.02f, 1e-5);

    // The value stays in range however far the pointer goes.
    drag(c, {{c.h, c.v - 2000}});
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    drag(c, {{c.h, c.v + 5000}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f);
}

TEST_F(Controls, KnobControlClickRestoresDefaultAndWheelSteps) {
    CKnob* knob = editor.stripKnob;
    knob->setDefaultValue(0.25f);
    knob->setValue(0.9f);
    click(centre(gallery::kStripKnobRect), kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);

    knob->setValue(0.5f);
    EXPECT_TRUE(frame->onMouseWheel(centre(gallery::kStripKnobRect), 2.f));
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-5);  // wheel increment 0.05
    EXPECT_TRUE(frame->onMouseWheel(centre(gallery::kStripKnobRect), -40.f));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f);
    // Over the background nothing takes the wheel.
    EXPECT_FALSE(frame->onMouseWheel(CPoint(5, 440), 1.f));
    // The host's wheel call goes to the view under the pointer.
    knob->setValue(0.5f);
    window->queueMouse(centre(gallery::kStripKnobRect), 0);
    EXPECT_TRUE(editor.onWheel(1.f));
    EXPECT_NEAR(knob->getValue(), 0.55f, 1e-5);
}

TEST_F(Controls, PressedKnobAndButtonTakeKeys) {
    CKnob* knob = editor.stripKnob;
    knob->setValue(0.5f);
    EXPECT_FALSE(key(VKEY_UP));  // nothing has the focus yet
    click(centre(gallery::kStripKnobRect));
    EXPECT_EQ(frame->getFocusView(), knob);
    EXPECT_TRUE(key(VKEY_UP));
    EXPECT_NEAR(knob->getValue(), 0.55f, 1e-5);
    EXPECT_TRUE(key(VKEY_LEFT, MODIFIER_SHIFT));
    EXPECT_NEAR(knob->getValue(), 0.545f, 1e-5);
    EXPECT_FALSE(key(VKEY_HOME));

    // Each left press toggles the on/off button, a right press does not; it then takes keys.
    click(centre(gallery::kOnOffRect));
    click(centre(gallery::kOnOffRect), kRButton);
    EXPECT_EQ(editor.onOff->getValue(), 1.f);
    EXPECT_EQ(editor.reports[gallery::kOnOff], 1);
    EXPECT_TRUE(key(VKEY_SPACE));
    EXPECT_EQ(editor.onOff->getValue(), 0.f);
    EXPECT_TRUE(key(VKEY_RETURN));
    EXPECT_EQ(editor.onOff->getValue(), 1.f);
    EXPECT_FALSE(key(VKEY_UP));
    EXPECT_NEAR(knob->getValue(), 0.545f, 1e-5);  // the knob lost the focus
}

TEST_F(Controls, CircularKnobModeTakesTheAngle) {
    ASSERT_TRUE(editor.setKnobMode(kCircularMode));
    CKnob* knob = editor.drawnKnob;
    const CRect& r = gallery::kDrawnKnobRect;
    CPoint c = centre(r);
    click(CPoint(c.h, r.top));  // straight up is the middle of the sweep
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f);
    drag(CPoint(c.h, r.top), {{r.right, c.v}});  // quarter turn clockwise: 0.5 + 90/270
    EXPECT_NEAR(knob->getValue(), 0.5f + 1.f / 3.f, 0.02f);
    // A knob drawn in part of its view turns around that part's centre.
    const CRect area(r.left, r.top, c.h, c.v);
    knob->setKnobArea(area);
    click(CPoint(centre(area).h, area.top));
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f);
    click(CPoint(area.right, centre(area).v));
    EXPECT_NEAR(knob->getValue(), 0.5f + 1.f / 3.f, 0.02f);
    EXPECT_FALSE(editor.setKnobMode(7));
}

TEST_F(Controls, EditorClosedDuringAPressIsNotTouchedAfterwards) {
    // The host may close the editor while a control's loop dispatches messages; the press must
    // finish on the still-held frame and report that it is gone.
    struct Closer : CControlListener {
        GalleryEditor* editor = nullptr;
        void valueChanged(CControl*) override {
            if (editor->isOpen()) editor->close();
        }
    } closer;
    closer.editor = &editor;
    editor.kick->setListener(&closer);
    CPoint c = centre(gallery::kKickRect);
    window->queueMouse(c, kLButton);
    EXPECT_FALSE(frame->onMouseDown(c, kLButton));
    EXPECT_FALSE(editor.isOpen());
    ASSERT_TRUE(editor.open(nullptr));  // and the editor opens again as usual
    EXPECT_TRUE(editor.getFrame()->onMouseDown(centre(gallery::kOnOffRect), kLButton));
    EXPECT_FLOAT_EQ(editor.onOff->getValue(), 1.f);
}

TEST_F(Controls, KickButtonReportsPressAndRelease) {
    std::vector<float> seen;
    struct Recorder : CControlListener {
        std::vector<float>* out;
        void valueChanged(CControl* c) override { out->push_back(c->getValue()); }
    } recorder;
    recorder.out = &seen;
    editor.kick->setListener(&recorder);
    CPoint c = centre(gallery::kKickRect);
    drag(c, {c, c});
    EXPECT_EQ(seen, (std::vector<float>{1.f, 0.f}));

    // Leaving the button while held releases it; coming back presses it again.
    seen.clear();
    drag(c, {{c.h + 200, c.v}, c});
    EXPECT_EQ(seen, (std::vector<float>{1.f, 0.f, 1.f, 0.f}));
    EXPECT_FLOAT_EQ(editor.kick->getValue(), 0.f);
}

TEST_F(Controls, MenuPointerGestures) {
    COptionMenu* menu = editor.menu;
    const CPoint at = menu->getViewSize().topLeft(), outside(700, 400);
    const CPoint square = gallery::menuEntry(at, 1), saw = gallery::menuEntry(at, 3, 1),
                 more = gallery::menuEntry(at, 4, 1), noise(more.h + menu->getWidth(), more.v);
    const long L = kLButton;
    // The entry chosen (none: no menu), and the pointer on each turn of the loop after the
    // press that opened the menu at `at`.
    const struct {
        const char* what;
        COptionMenu* chosenIn;
        long chosen;
        std::vector<std::pair<CPoint, long>> turns;
    } cases[] = {
        {"click an entry below a separator", menu, 3, {{at, 0}, {saw, 0}, {saw, L}, {saw, 0}}},
        {"release where it opened", nullptr, -1, {{at, L}}},
        {"drag onto an entry and release", menu, 1, {{at, L}, {square, L}, {square, L}}},
        {"click outside", nullptr, -1, {{at, 0}, {outside, L}, {outside, 0}}},
        {"hover the submenu entry, click in the submenu",
         editor.submenu,
         0,
         {{at, 0}, {more, 0}, {noise, 0}, {noise, L}, {noise, 0}}},
    };
    for (const auto& c : cases) {
        menu->setCurrent(0);
        const int reports = editor.reports[gallery::kMenu];
        for (auto [where, buttons] : c.turns) window->queueMouse(where, buttons);
        frame->onMouseDown(at, kLButton);
        EXPECT_EQ(frame->getModalView(), nullptr) << c.what;
        EXPECT_EQ(editor.reports[gallery::kMenu], reports + (c.chosenIn ? 1 : 0)) << c.what;
        // The root menu keeps its own entry when the choice is in a submenu.
        EXPECT_EQ(menu->getCurrent(), c.chosenIn == menu ? c.chosen : 0) << c.what;
        if (!c.chosenIn) continue;
        long index = -1;
        EXPECT_EQ(menu->getLastItemMenu(index), c.chosenIn) << c.what;
        EXPECT_EQ(index, c.chosen) << c.what;
        EXPECT_EQ(c.chosenIn->getCurrent(), c.chosen) << c.what;
    }
}

TEST_F(Controls, OnlyAMenuTallerThanTheFrameOpensInAPopup) {
    std::size_t popups = 0;  // the most open at once while a menu shows
    editor.whileTracking = [&] { popups = std::max(popups, window->popups().size()); };
    COptionMenu* menu = editor.longMenu;
    CPoint at = menu->getViewSize().topLeft();
    CPoint last = gallery::menuEntry(at, gallery::kLongMenuEntries - 1);
    ASSERT_GT(last.v, frame->getHeight());  // only reachable when the panel was not squeezed in
    window->queueMouse(at, 0);
    window->queueMouse(last, kLButton);
    window->queueMouse(last, 0);
    frame->onMouseDown(at, kLButton);
    EXPECT_EQ(menu->getCurrent(), gallery::kLongMenuEntries - 1);
    EXPECT_EQ(popups, 1u);
    EXPECT_TRUE(window->popups().empty());  // closed with the menu

    popups = 0;
    window->queueMouse(at, 0);
    editor.menu->popup();
    EXPECT_EQ(popups, 0u);
}

TEST_F(Controls, MenuRemovedByItsListenerDuringTheChoiceIsSafe) {
    struct Remover : CControlListener {
        CFrame* frame = nullptr;
        long chosen = -1;
        void valueChanged(CControl* c) override {
            chosen = static_cast<COptionMenu*>(c)->getCurrent();
            frame->removeView(c);
        }
    } remover;
    remover.frame = frame;
    auto* menu = new COptionMenu(CRect(10, 10, 100, 30), &remover, 99);
    menu->addEntry("a");
    menu->addEntry("b");
    frame->addView(menu);
    window->queueKey(virtualKey(VKEY_DOWN));
    window->queueKey(virtualKey(VKEY_DOWN));
    window->queueKey(virtualKey(VKEY_RETURN));
    frame->onMouseDown(CPoint(20, 20), kLButton);
    EXPECT_EQ(remover.chosen, 1);
    EXPECT_FALSE(frame->isChild(menu));
}

TEST_F(Controls, MenuKeyboardAndSeparatorsAreSkipped) {
    COptionMenu* menu = editor.menu;
    HeadlessWindow& w = *window;
    // Down three times from nothing: Sine, Square, (separator skipped) Saw; Return chooses.
    w.queueKey(virtualKey(VKEY_DOWN));
    w.queueKey(virtualKey(VKEY_DOWN));
    w.queueKey(virtualKey(VKEY_DOWN));
    w.queueKey(virtualKey(VKEY_RETURN));
    EXPECT_TRUE(menu->popup());
    EXPECT_EQ(menu->getCurrent(), 3);
    // Escape dismisses.
    w.queueKey(virtualKey(VKEY_DOWN));
    w.queueKey(virtualKey(VKEY_ESCAPE));
    EXPECT_FALSE(menu->popup());
    EXPECT_EQ(menu->getCurrent(), 3);
    // An exhausted script (no more input can come) also dismisses instead of hanging.
    EXPECT_FALSE(menu->popup());
    // The current entry cannot be a separator or out of range.
    EXPECT_FALSE(menu->setCurrent(2));
    EXPECT_FALSE(menu->setCurrent(99));
    EXPECT_EQ(menu->getCurrent(), 3);
}

TEST_F(Controls, TextEditTypingCommitAndCancel) {
    CTextEdit* text = editor.text;
    click(centre(gallery::kTextRect));
    ASSERT_TRUE(text->isEditing());
    EXPECT_EQ(frame->getFocusView(), text);
    EXPECT_TRUE(window->hasKeyboardFocus());  // asked of the window while the field edits
    type("World");  // replaces the selected "Hello"
    EXPECT_EQ(text->getEditText(), "World");
    EXPECT_STREQ(text->getText(), "Hello");  // not committed yet
    EXPECT_TRUE(key(VKEY_BACK));
    EXPECT_TRUE(key(VKEY_HOME));
    type(">");
    EXPECT_TRUE(key(VKEY_END, MODIFIER_SHIFT));
    EXPECT_EQ(text->getSelectionEnd() - text->getSelectionStart(), 4);
    type("!");
    EXPECT_EQ(text->getEditText(), ">!");
    EXPECT_TRUE(key(VKEY_RETURN));
    EXPECT_FALSE(text->isEditing());
    EXPECT_STREQ(text->getText(), ">!");
    EXPECT_STREQ(editor.lastText, ">!");
    EXPECT_EQ(editor.reports[gallery::kText], 1);
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_FALSE(window->hasKeyboardFocus());

    // Escape restores the text and reports nothing.
    click(centre(gallery::kTextRect));
    type("gone");
    EXPECT_TRUE(key(VKEY_ESCAPE));
    EXPECT_STREQ(text->getText(), ">!");
    EXPECT_EQ(editor.reports[gallery::kText], 1);

    // Clicking elsewhere commits, once.
    click(centre(gallery::kTextRect));
    type("kept");
    click(CPoint(5, 440));
    EXPECT_STREQ(text->getText(), "kept");
    EXPECT_EQ(editor.reports[gallery::kText], 2);
    // Keys with no focus view reach nobody.
    EXPECT_FALSE(key(VKEY_LEFT));
}

TEST_F(Controls, TextFieldMayRemoveItselfWhenEditingEnds) {
    // A field that takes itself out of its container once it loses the focus, as inline rename
    // fields do; committing with Return or by clicking elsewhere must not touch it afterwards.
    struct SelfRemoving : CTextEdit {
        using CTextEdit::CTextEdit;
        void looseFocus() override {
            CTextEdit::looseFocus();
            if (auto* parent = static_cast<CViewContainer*>(getParentView())) {
                parent->removeView(this);
            }
        }
    };
    const long views = frame->getNbViews();
    for (bool byReturn : {true, false}) {
        auto* field = new SelfRemoving(CRect(300, 300, 400, 320), &editor, 77, "name");
        frame->addView(field);
        frame->setFocusView(field);
        type("renamed");
        if (byReturn) {
            EXPECT_TRUE(key(VKEY_RETURN));
        } else {
            click(CPoint(5, 440));
        }
        EXPECT_EQ(frame->getNbViews(), views) << byReturn;
        EXPECT_EQ(frame->getFocusView(), nullptr);
        EXPECT_FLOAT_EQ(editor.reports[77], byReturn ? 1 : 2);
    }
}

TEST_F(Controls, TextEditCaretFollowsClicksAndLengthIsBounded) {
    CTextEdit* text = editor.text;
    text->setText(std::string(400, 'x').c_str());
    EXPECT_EQ(std::strlen(text->getText()), std::size_t(CParamDisplay::kTextCapacity - 1));
    text->setText("abcdef");
    click(centre(gallery::kTextRect));
    // A click at the left edge puts the caret before the first character.
    click(CPoint(gallery::kTextRect.left + 1, centre(gallery::kTextRect).v));
    EXPECT_EQ(text->getCaret(), 0);
    EXPECT_EQ(text->getSelectionStart(), text->getSelectionEnd());
    // Dragging to the right end selects everything.
    drag(CPoint(gallery::kTextRect.left + 1, centre(gallery::kTextRect).v),
         {CPoint(gallery::kTextRect.right - 2, centre(gallery::kTextRect).v)});
    EXPECT_EQ(text->getSelectionStart(), 0);
    EXPECT_EQ(text->getSelectionEnd(), 6);
    EXPECT_TRUE(key(VKEY_DELETE));
    EXPECT_EQ(text->getEditText(), "");
    EXPECT_TRUE(key(VKEY_BACK));  // nothing to erase: harmless
}

TEST_F(Controls, SplashOpensModallyAndClosesOnAnyClick) {
    CSplashScreen* splash = editor.splash;
    click(centre(gallery::kSplashArea));
    EXPECT_TRUE(splash->isOpen());
    EXPECT_FLOAT_EQ(editor.lastValue[gallery::kSplash], 1.f);
    EXPECT_EQ(frame->getModalView(), splash);
    // While it shows, controls under it get nothing.
    click(centre(gallery::kOnOffRect));
    EXPECT_FALSE(splash->isOpen());
    EXPECT_FLOAT_EQ(editor.onOff->getValue(), 0.f);
    EXPECT_FLOAT_EQ(editor.lastValue[gallery::kSplash], 0.f);
    EXPECT_EQ(frame->getModalView(), nullptr);
    click(centre(gallery::kOnOffRect));
    EXPECT_FLOAT_EQ(editor.onOff->getValue(), 1.f);
}

}  // namespace
