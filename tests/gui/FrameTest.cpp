// The frame's own duties: dirty-region redraw, idle passes, modal and focus views, coordinates
// of nested containers, drops, custom menu drawing, and the editor base's host operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/CBitmap.h"
#include "gui/CControl.h"
#include "gui/CDragContainer.h"
#include "gui/CDrawContext.h"
#include "gui/CDropTarget.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/COptionMenuScheme.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "sdk/AEffGUIEditor.h"

namespace {

// A view that records what reaches it.
class Probe : public CControl {
public:
    explicit Probe(const CRect& r, std::vector<std::string>* log = nullptr)
        : CControl(r), log_(log) {}
    void draw(CDrawContext* c) override {
        ++draws;
        c->setFillColor(color);
        c->fillRect(size);
        setDirty(false);
    }
    void mouse(CDrawContext*, CPoint& where, long) override {
        lastPress = where;
        ++presses;
    }
    bool onDrop(CDragContainer*, const CPoint& where) override {
        lastPress = where;
        return true;
    }
    long onKeyDown(VstKeyCode&) override {
        ++keys;
        return 1;
    }
    void takeFocus() override { record("take"); }
    void looseFocus() override { record("lose"); }

    int draws = 0, presses = 0, keys = 0;
    CPoint lastPress;
    CColor color = kRedCColor;

private:
    void record(const char* what) {
        if (log_) log_->push_back(what);
    }
    std::vector<std::string>* log_;
};

CColor pixel(CFrame& frame, int x, int y) {
    return frame.getBackBuffer()->getPixel(x, y);
}

TEST(Frame, IdleRedrawsOnlyWhatChanged) {
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    frame.setBackgroundColor(kBlackCColor);
    auto* a = new Probe(CRect(10, 10, 30, 30));
    auto* b = new Probe(CRect(100, 10, 120, 30));
    frame.addView(a);
    frame.addView(b);
    frame.idle();
    HeadlessWindow& window = *frame.headless();
    EXPECT_EQ(pixel(frame, 15, 15), kRedCColor);
    EXPECT_EQ(pixel(frame, 50, 50), kBlackCColor);

    // Nothing dirty: nothing drawn, nothing shown.
    window.clearPresented();
    int drawsBefore = b->draws;
    frame.idle();
    EXPECT_EQ(window.presentCount(), 0);

    // A changed value redraws that control alone.
    a->setValue(0.7f);
    a->color = kBlueCColor;
    frame.idle();
    EXPECT_EQ(window.presentedArea(), CRect(10, 10, 30, 30));
    EXPECT_EQ(pixel(frame, 15, 15), kBlueCColor);
    EXPECT_EQ(b->draws, drawsBefore);

    // Many scattered invalid rectangles are kept to a short list and all redrawn.
    for (int i = 0; i < 40; ++i)
        frame.invalidRect(CRect(i * 5, i % 3 * 30, i * 5 + 2, i % 3 * 30 + 2));
    window.clearPresented();
    frame.idle();
    EXPECT_LE(window.presentCount(), 17);
    EXPECT_FALSE(frame.hasInvalidRegion());

    // A hidden view is not drawn; its area shows the background again.
    a->setVisible(false);
    frame.idle();
    EXPECT_EQ(pixel(frame, 15, 15), kBlackCColor);
}

TEST(Frame, NestedContainersUseLocalCoordinates) {
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    auto* box = new CViewContainer(CRect(50, 20, 150, 90), &frame);
    box->setBackgroundColor(kGreenCColor);
    auto* probe = new Probe(CRect(10, 10, 20, 20));
    box->addView(probe);
    frame.addView(box);
    frame.idle();
    EXPECT_EQ(pixel(frame, 65, 35), kRedCColor);  // (50 + 15, 20 + 15)
    EXPECT_EQ(pixel(frame, 55, 25), kGreenCColor);
    frame.onMouseDown(CPoint(62, 33), kLButton);
    EXPECT_EQ(probe->presses, 1);
    EXPECT_EQ(probe->lastPress, CPoint(12, 13));
    CPoint p(12, 13);
    EXPECT_EQ(probe->localToFrame(p), CPoint(62, 33));

    // Drops go to the view under the pointer, in its coordinates.
    struct NoItems : CDragContainer {
        long getCount() const override { return 0; }
        const void* first(long& size, long& type) override {
            return size = 0, type = kUnknown, nullptr;
        }
        const void* next(long& size, long& type) override { return first(size, type); }
        long getType(long) const override { return kUnknown; }
    } drag;
    CDropTarget target(&frame);
    EXPECT_TRUE(target.drop(&drag, CPoint(65, 35)));
    EXPECT_EQ(probe->lastPress, CPoint(15, 15));
    EXPECT_FALSE(target.drop(&drag, CPoint(5, 5)));
}

TEST(Frame, ModalViewTakesEveryPressAndKey) {
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    auto* control = new Probe(CRect(0, 0, 50, 50));
    frame.addView(control);
    auto* modal = new Probe(CRect(100, 0, 150, 50));
    ASSERT_TRUE(frame.setModalView(modal));
    auto* other = new Probe(CRect());
    EXPECT_FALSE(frame.setModalView(other));  // a second one is refused
    other->forget();
    frame.onMouseDown(CPoint(10, 10), kLButton);
    EXPECT_EQ(control->presses, 0);
    EXPECT_EQ(modal->presses, 1);
    VstKeyCode key{'a', 0, 0};
    EXPECT_EQ(frame.onKeyDown(key), 1);
    EXPECT_EQ(modal->keys, 1);
    modal->remember();
    ASSERT_TRUE(frame.setModalView(nullptr));  // removed, but not released
    EXPECT_EQ(modal->getNbReference(), 2);
    modal->forget();
    modal->forget();
    frame.onMouseDown(CPoint(10, 10), kLButton);
    EXPECT_EQ(control->presses, 1);
    EXPECT_EQ(frame.onKeyDown(key), -1);
}

TEST(Frame, FocusMovesAndNeverDangles) {
    std::vector<std::string> log;
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    auto* a = new Probe(CRect(0, 0, 50, 50), &log);
    auto* b = new Probe(CRect(60, 0, 110, 50), &log);
    frame.addView(a);
    frame.addView(b);
    frame.setFocusView(a);
    frame.setFocusView(b);
    EXPECT_EQ(log, (std::vector<std::string>{"take", "lose", "take"}));
    VstKeyCode key{'x', 0, 0};
    frame.onKeyDown(key);
    EXPECT_EQ(b->keys, 1);
    // A press elsewhere takes the focus away.
    frame.onMouseDown(CPoint(10, 10), kLButton);
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(log.back(), "lose");
    // Removing the focus view leaves no pointer to it behind.
    frame.setFocusView(a);
    frame.removeView(a);
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(frame.onKeyDown(key), -1);
}

TEST(Frame, DragDetectionAndDoubleClicks) {
    CFrame frame(CRect(0, 0, 200, 100), nullptr, nullptr);
    HeadlessWindow& w = *frame.headless();
    auto* box = new CViewContainer(CRect(50, 20, 150, 90), &frame);
    frame.addView(box);
    CDrawContext context(&frame, frame.getBackBuffer());
    context.setOffset(CPoint(50, 20));  // as for a view inside the box
    // Jitter within two pixels is not a drag; three pixels is.
    w.queueMouse(CPoint(62, 32), kLButton);
    w.queueMouse(CPoint(60, 30), kLButton);
    w.queueMouse(CPoint(63, 30), kLButton);
    EXPECT_TRUE(context.detectDrag(CPoint(10, 10)));
    EXPECT_EQ(w.pendingSteps(), 1u);  // decided on the sample that moved, which stays current
    w.waitForEvents();
    // Releasing first is a click.
    w.queueMouse(CPoint(61, 31), kLButton);
    w.queueMouse(CPoint(61, 31), 0);
    EXPECT_FALSE(context.detectDrag(CPoint(10, 10)));
    // A second press nearby is a double click; far away, or none at all, is not.
    w.queueMouse(CPoint(61, 31), 0);
    w.queueMouse(CPoint(61, 31), kLButton);
    EXPECT_TRUE(context.waitDoubleClick(CPoint(10, 10)));
    w.waitForEvents();
    w.queueMouse(CPoint(90, 31), kLButton);
    EXPECT_FALSE(context.waitDoubleClick(CPoint(10, 10)));
    EXPECT_FALSE(context.waitDoubleClick(CPoint(10, 10)));
}

TEST(Frame, MenuSchemeDrawsEveryItemWithItsState) {
    struct Recorder : COptionMenuScheme {
        std::vector<std::pair<std::string, long>> items;
        void drawItem(const char* text, long id, long state, CDrawContext* c,
                      const CRect& r) override {
            items.emplace_back(text, state);
            COptionMenuScheme::drawItem(text, id, state, c, r);
        }
    };
    CFrame frame(CRect(0, 0, 300, 200), nullptr, nullptr);
    auto* menu = new COptionMenu(CRect(10, 10, 100, 30), nullptr, 1);
    auto* scheme = new Recorder;
    menu->setScheme(scheme);
    menu->addEntry("One");
    menu->addEntry("-");
    menu->addEntry("Two");
    menu->checkEntry(2, true);
    menu->enableEntry(0, false);
    frame.addView(menu);
    frame.headless()->queueKey(VstKeyCode{0, VKEY_DOWN, 0});  // skips the disabled entry
    menu->popup();
    ASSERT_GE(scheme->items.size(), 3u);
    std::pair<std::string, long> last[3] = {scheme->items[scheme->items.size() - 3],
                                            scheme->items[scheme->items.size() - 2],
                                            scheme->items.back()};
    EXPECT_EQ(last[0].first, "One");
    EXPECT_TRUE(last[0].second & COptionMenuScheme::kDisabled);
    EXPECT_TRUE(last[1].second & COptionMenuScheme::kSeparator);
    EXPECT_EQ(last[2].second & (COptionMenuScheme::kChecked | COptionMenuScheme::kSelected),
              COptionMenuScheme::kChecked | COptionMenuScheme::kSelected);
    scheme->forget();
    // The menu never opens without entries, nor without a frame.
    COptionMenu loose(CRect(0, 0, 10, 10), nullptr, 2);
    loose.addEntry("x");
    EXPECT_FALSE(loose.popup());
}

class TestEditor : public AEffGUIEditor {
public:
    TestEditor() : AEffGUIEditor(nullptr) { setRect(0, 0, 320, 200); }
    bool open(void* parent) override {
        AEffGUIEditor::open(parent);
        frame_ = new CFrame(frameRect(), parent, this);
        probe = new Probe(CRect(0, 0, 50, 50));
        frame_->addView(probe);
        frame_->setFocusView(probe);
        return true;
    }
    Probe* probe = nullptr;
};

TEST(Frame, EditorBaseAnswersTheHost) {
    TestEditor editor;
    ERect* rect = nullptr;
    ASSERT_TRUE(editor.getRect(&rect));
    EXPECT_EQ(rect->right, 320);
    VstKeyCode key{'k', 0, 0};
    EXPECT_FALSE(editor.onKeyDown(key));  // closed: nobody takes keys
    EXPECT_FALSE(editor.onWheel(1.f));
    editor.idle();
    ASSERT_TRUE(editor.open(nullptr));
    EXPECT_EQ(editor.getFrame()->getWidth(), 320);
    EXPECT_TRUE(editor.onKeyDown(key));
    EXPECT_EQ(editor.probe->keys, 1);
    // Gestures without an effect are harmless.
    editor.probe->beginEdit();
    editor.probe->endEdit();
    editor.close();
    EXPECT_FALSE(editor.isOpen());
    editor.close();  // twice is fine
}

}  // namespace
