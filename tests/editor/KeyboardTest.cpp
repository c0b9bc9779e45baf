// The on-screen keyboard and the multi-handle sliders in the editor window on a headless frame:
// picking and dragging handles (fine, all together, wheel and keys), handles bound to values,
// the keyboard's key search and velocity, glissandos, keys lit by MIDI and by the keyboard's
// own notes, notes reaching the engine, the keyboard slide, and closing while notes arrive.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "OpenEditor.h"
#include "core/KeyboardDisplay.h"
#include "core/KeyboardNoteQueue.h"
#include "editor/CBitmapCollection.h"
#include "editor/CGuidedMultiSlider.h"
#include "editor/CMultiSlider.h"
#include "editor/CValueObject.h"
#include "editor/KeyboardView.h"
#include "gui/CBitmap.h"
#include "gui/VstKeys.h"

namespace {

class Driven : public OpenEditor {
protected:
    // A press at `at` held (with `modifiers`) along `path`, released at its end.
    void drag(const CPoint& at, const std::vector<CPoint>& path, long modifiers = 0) {
        for (const CPoint& p : path) window->queueMouse(p, kLButton | modifiers);
        window->queueMouse(path.empty() ? at : path.back(), 0);
        frame->onMouseDown(at, kLButton | modifiers);
        window->waitForEvents();
        ASSERT_EQ(window->pendingSteps(), 0u);
    }
};

// ---------------------------------------------------------------------------------------------
// Sliders

struct ChangeCounter : CControlListener {
    int changes = 0;
    void valueChanged(CControl*) override { ++changes; }
};

// The envelope page's level guide.
const std::vector<CPoint> kGuide = {{10, 0}, {46, 29}, {63, 55}, {73, 90}, {72, 138}, {67, 162}};

class Sliders : public Driven {
protected:
    void SetUp() override {
        Driven::SetUp();
        // 16 x 9 handles whose top-left 4 x 4 corner has the transparent colour.
        const CColor magenta{255, 0, 255, 255};
        for (int i = 0; i < 2; ++i) {
            auto* b = new CBitmap(16, 9);
            for (int p = 0; p < 16 * 4; ++p)
                if (p % 16 < 4) b->pixels()[p] = magenta.pixel();
            b->setTransparentColor(magenta);
            handles->set(i, b);
            b->forget();
        }
    }
    void TearDown() override {
        handles->forget();
        missing->forget();
        Driven::TearDown();
    }
    CMultiSlider* column(int options = 9, CBitmapCollection* images = nullptr) {
        auto* s = new CMultiSlider(CRect(500, 200, 539, 261), &counter, 9, options, 2,
                                   images ? images : handles, nullptr);
        frame->addView(s);
        return s;
    }
    CGuidedMultiSlider* guided() {
        auto* s = new CGuidedMultiSlider(CRect(421, 90, 509, 258), &counter, 17, 2, handles,
                                         nullptr, kGuide, CMultiSlider::kCubed);
        frame->addView(s);
        return s;
    }
    static CPoint centre(const CRect& r) { return {(r.left + r.right) / 2, r.top + r.height() / 2}; }
    CBitmapCollection* handles = new CBitmapCollection(2);
    CBitmapCollection* missing = new CBitmapCollection(2, 99990);  // no such resources
    ChangeCounter counter;
};

TEST_F(Sliders, HandlesArePickedByOpaquePixelsAndPlacedOnTheTrackOrTheGuide) {
    // Centred handles at one position overlap: the first wins, except on its transparent corner.
    CMultiSlider* s = column(CMultiSlider::kVertical);
    s->setHandlePosition(0, 0.5f);
    s->setHandlePosition(1, 0.5f);
    const CRect r = s->handleRect(0);
    EXPECT_EQ(s->pickHandle(centre(r)), 0);
    EXPECT_EQ(s->pickHandle({r.left + 1, r.top + 1}), -1);
    // Alternate alignment tests rectangles only; handle 0 ends at the middle, handle 1 starts.
    const CRect odd = column()->handleRect(1);
    EXPECT_EQ(odd.left, 500 + 39 / 2);

    // The window's handle bitmaps (304, 305) are see-through around the handle.
    CBitmapCollection* art = new CBitmapCollection(2, 304);
    CMultiSlider* drawn = column(9, art);
    art->forget();
    editor->idle();
    const CPoint corner = drawn->handleRect(0).topLeft();
    drawn->setHandlePosition(0, 1.0f);
    editor->idle();
    const CColor under = frame->getBackBuffer()->getPixel(corner.h, corner.v);
    drawn->setHandlePosition(0, 0.0f);
    editor->idle();
    EXPECT_EQ(frame->getBackBuffer()->getPixel(corner.h, corner.v), under);
    EXPECT_NE(under, (CColor{0, 0, 0, 255}));

    CGuidedMultiSlider* g = guided();
    const std::pair<int, int> probes[] = {{0, 10}, {14, 27}, {100, 73}, {162, 67}, {167, 67}, {-1, 10}};
    for (auto [y, x] : probes) EXPECT_EQ(g->guideX(y), x) << y;
    EXPECT_EQ(g->bottomLimit(), 168 - 1 - 4);
    EXPECT_EQ(g->topLimit(), 6 + 2);  // 2 below the first height whose guide x passes 16
    EXPECT_TRUE(g->hitTest({421 + 73 - 16, 90 + 100}));
    EXPECT_FALSE(g->hitTest({421 + 73 - 17, 90 + 100}));
    EXPECT_TRUE(g->hitTest({421 + 67 + 16, 90 + 165}));  // the bottom handle, below the guide
    g->setHandlePosition(0, 1.0f);
    EXPECT_EQ(g->handleRect(0).right, 421 + g->guideX(g->topLimit()));
    EXPECT_EQ(g->handleRect(1).left, 421 + g->guideX(g->bottomLimit()));
}

TEST_F(Sliders, DraggedHandleStaysUnderThePointerAlongTheWholeTrack) {
    struct Case {
        int kind;  // 0 column, 1 guided, 2 column without its handle bitmaps
        float start;
        int dy;    // pointer travel from the handle's centre
    };
    const Case cases[] = {{0, 0.0f, -10}, {0, 0.0f, -40}, {0, 0.5f, 20}, {0, 1.0f, 45},
                          {1, 0.0f, -60}, {1, 0.3f, -25}, {1, 1.0f, 100}, {2, 0.0f, -26}};
    for (const Case& c : cases) {
        CMultiSlider* s = c.kind == 1 ? guided() : column(9, c.kind == 2 ? missing : nullptr);
        s->setHandlePosition(1, c.start);
        const CPoint at = centre(s->handleRect(1));
        drag(at, {{at.h, at.v + c.dy / 2}, {at.h, at.v + c.dy}});
        EXPECT_EQ(s->selectedHandle(), 1);
        EXPECT_EQ(centre(s->handleRect(1)).v, at.v + c.dy) << c.kind << " " << c.start;
        frame->removeView(s);
    }
}

TEST_F(Sliders, FineDragsWheelAndKeysStepThePickedHandleOrWithAltEveryHandle) {
    CMultiSlider* s = column();
    s->setHandlePosition(0, 0.5f);
    const CPoint at = centre(s->handleRect(0));
    // Shift from the press on over the handles' whole travel (61 - 9 pixels): a tenth.
    drag(at, {{at.h, at.v - 30}, {at.h, at.v - 52}}, kShift);
    EXPECT_NEAR(s->handlePosition(0), 0.6f, 1e-6f);
    // Shift let go mid-drag: the handle goes on from where it is, it does not jump.
    const CPoint from = centre(s->handleRect(0));
    window->queueMouse({from.h, from.v - 10}, kLButton | kShift);
    window->queueMouse({from.h, from.v - 10}, kLButton);
    drag(from, {}, kShift);
    EXPECT_NEAR(s->handlePosition(0), 0.6f + 10.0f / 52.0f / 10.0f, 0.01f);
    // Alt: both handles end at one and the same value.
    s->setHandlePosition(1, 0.1f);
    const CPoint second = centre(s->handleRect(1));
    drag(second, {{second.h, second.v - 20}}, kAlt);
    EXPECT_EQ(s->handlePosition(0), s->handlePosition(1));
    EXPECT_NEAR(s->handlePosition(1), 0.1f + 20.0f / 52.0f, 0.01f);
    EXPECT_GT(counter.changes, 0);

    s->setHandlePosition(0, 0.0f);
    s->setHandlePosition(1, 0.0f);
    struct Step {
        float distance;  // a wheel step, or 0 for `key`
        long buttons;
        VstKeyCode key;
        float expect1, expect0;
    };
    const Step steps[] = {{1, 0, {}, 0.1f, 0.0f},          {1, kShift, {}, 0.11f, 0.0f},
                          {-1, kAlt, {}, 0.01f, 0.01f},    {30, 0, {}, 1.0f, 0.01f},
                          {1, 0, {}, 1.0f, 0.01f},         {0, 0, {0, VKEY_DOWN, 1}, 0.99f, 0.01f},
                          {0, 0, {0, VKEY_RIGHT, 2}, 1.0f, 1.0f}};
    const CPoint over = centre(s->getViewSize());
    for (const Step& st : steps) {
        VstKeyCode key = st.key;
        if (st.distance == 0) {
            EXPECT_EQ(s->onKeyDown(key), 1);
        } else {
            window->queueMouse(over, st.buttons);
            EXPECT_TRUE(frame->onMouseWheel(over, st.distance));
            window->waitForEvents();
        }
        EXPECT_NEAR(s->handlePosition(1), st.expect1, 1e-5f) << st.distance << " " << st.buttons;
        EXPECT_NEAR(s->handlePosition(0), st.expect0, 1e-5f);
    }
    VstKeyCode letter{'a', 0, 0};
    EXPECT_EQ(s->onKeyDown(letter), -1);
}

TEST_F(Sliders, BoundCubedHandlesShowTheirValuesWithoutDriftAndStoreThePickedOneLast) {
    CGuidedMultiSlider* s = guided();
    std::vector<const CValueObject*> stored;
    struct Logged : CValueObject {
        std::vector<const CValueObject*>* log;
        explicit Logged(std::vector<const CValueObject*>* l) : log(l) {}
        void storeValue(float v) override {
            log->push_back(this);
            CValueObject::storeValue(v);
        }
    } lo(&stored), hi(&stored);
    ASSERT_TRUE(s->bindHandle(0, &lo));
    ASSERT_TRUE(s->bindHandle(1, &hi));
    lo.setValue(0.125f);
    for (int refresh = 0; refresh < 5; ++refresh) lo.notifyDependents();
    EXPECT_NEAR(s->handlePosition(0), 0.5f, 1e-6f);
    stored.clear();
    // Handle 1 picked and moved, handle 0 moved too: the picked one is written last; values
    // already in place are not written again.
    s->setSelectedHandle(1);
    s->setHandlePosition(1, 0.5f);
    s->setHandlePosition(0, 0.25f);
    s->storeBoundValues();
    s->storeBoundValues();
    EXPECT_EQ(stored, (std::vector<const CValueObject*>{&lo, &hi}));
    EXPECT_NEAR(hi.getValue(), 0.125f, 1e-6f);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

const CPoint kStrip(0, 384);  // the keyboard's top left in the window

struct QueuedNote {
    int note;
    bool on;
    int velocity;
    bool operator==(const QueuedNote&) const = default;
};

class Keyboard : public Driven {
protected:
    void SetUp() override {
        Driven::SetUp();
        editor->idle();
        keys = editor->keyboard();
        ASSERT_NE(keys, nullptr);
        plugin->setSampleRate(44100.0f);
        plugin->setBlockSize(kBlock);
        plugin->resume();
    }
    static CPoint at(int x, int y) { return {kStrip.h + x, kStrip.v + y}; }
    // Takes what the keyboard queued, as the engine's block start does.
    std::vector<QueuedNote> queued() {
        std::vector<QueuedNote> notes;
        auto& queue = const_cast<KeyboardNoteQueue&>(plugin->keyboardNotes());
        queue.drain([&](const KeyboardNoteQueue::Entry& e) {
            notes.push_back({e.note, e.isOn != 0, e.isOn ? int(e.velocity) : 0});
        });
        return notes;
    }
    void midi(int status, int note, int velocity) {
        VstMidiEvent e{};
        e.type = kVstMidiType;
        e.byteSize = sizeof e;
        e.midiData[0] = char(status);
        e.midiData[1] = char(note);
        e.midiData[2] = char(velocity);
        VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&e), nullptr}};
        plugin->processEvents(&list);
    }
    void render() {
        float* outs[2] = {left, right};
        plugin->processReplacing(nullptr, outs, kBlock);
    }
    void reopen() {
        editor->close();
        ASSERT_TRUE(editor->open(nullptr));
        frame = editor->getFrame();
        window = frame->headless();
        keys = editor->keyboard();
        editor->idle();
    }
    CColor pixel(int x, int y) const { return frame->getBackBuffer()->getPixel(kStrip.h + x, kStrip.v + y); }

    static constexpr int kBlock = 64;
    float left[kBlock] = {};
    float right[kBlock] = {};
    KeyboardView* keys = nullptr;
};

TEST_F(Keyboard, KeySearchFollowsTheStripAndVelocityTheDepth) {
    struct Case {
        int x, y;
        int note;
        int velocity;
    };
    const Case cases[] = {
        {38 + 7, 20, 37, 96},     // C#2 in the black keys' rows
        {38 + 63, 10, 47, 48},    // past the last black key of the octave: B
        {38 + 14, 10, 38, 48},    // between C# and D#: D
        {38, 40, 36, 127},        // the first key's first pixel, pressed deep
        {38 + 69, 40, 47, 127},   // the last pixel of the first octave
        {38 + 70, 40, 48, 127},   // and the first of the next
        {38 + 138, 40, 59, 127},  // an octave's last pixel past seven white key widths
        {38 + 139, 40, 60, 127},
        {442, 5, 106, 24},        // A#7
        {455, 30, 107, 127},      // the last key's last pixel
        {455, 0, 107, 1},
        {200, 26, 64, 126},
        {37, 40, -1, 0},          // the left end block
        {456, 40, -1, 0},         // the right one
        {200, 65, -1, 0},         // below the strip
    };
    for (const Case& c : cases) {
        int velocity = 0;
        EXPECT_EQ(KeyboardView::keyAt({c.x, c.y}, &velocity), c.note) << c.x << "," << c.y;
        if (c.note >= 0) {
            EXPECT_EQ(velocity, c.velocity) << c.x << "," << c.y;
        }
    }
    // What is sent: seven tenths of the velocity, truncated.
    drag(at(38 + 7, 20), {});
    drag(at(38 + 70, 40), {});
    EXPECT_EQ(queued(), (std::vector<QueuedNote>{{37, true, 67}, {37, false, 0}, {48, true, 88},
                                                  {48, false, 0}}));
}

TEST_F(Keyboard, DragPlaysAGlissandoOneKeyAtATimeThatTheNextBlockTakesIn) {
    // From C2 across D to E, several pixels on each key.
    std::vector<CPoint> path;
    for (int x = 40; x <= 66; x += 2) path.push_back(at(x, 40));
    drag(at(40, 40), path);
    EXPECT_EQ(keys->heldNote(), -1);
    EXPECT_EQ(plugin->keyboardNotes().size(), 6u);
    EXPECT_EQ(queued(), (std::vector<QueuedNote>{{36, true, 88}, {36, false, 0}, {38, true, 88},
                                                  {38, false, 0}, {40, true, 88}, {40, false, 0}}));
    // The engine drains the queue at a block's start into the voice manager, which shows the
    // note-off on the key state.
    const std::uint32_t before = plugin->keyboardDisplay().changes();
    drag(at(200, 40), {});
    render();
    EXPECT_EQ(plugin->keyboardNotes().size(), 0u);
    EXPECT_NE(plugin->keyboardDisplay().changes(), before);
}

TEST_F(Keyboard, KeysLightOnIdleForNotesThePluginPlays) {
    // The voice manager's side of the key state, written as the audio thread writes it.
    auto& display = const_cast<KeyboardDisplay&>(plugin->keyboardDisplay());
    const CColor open = pixel(38 + 3, 40);  // C2
    display.keyDown(36, 1);
    display.keyDown(30, 100);  // below the keyboard: not shown
    EXPECT_FALSE(keys->isKeyLit(36));  // nothing happens until the editor's idle
    editor->idle();
    EXPECT_TRUE(keys->isKeyLit(36));
    EXPECT_NE(pixel(38 + 3, 40), open);
    // The notes are read again only when the change count moved.
    keys->setKeyLit(36, false);
    editor->idle();
    EXPECT_FALSE(keys->isKeyLit(36));
    display.allUp();
    editor->idle();
    EXPECT_EQ(pixel(38 + 3, 40), open);
}

TEST_F(Keyboard, LidSlidesShutAndOpenFrameByFrameAndStaysShutAcrossReopening) {
    const CColor ivory = pixel(250, 40);
    EXPECT_GT(ivory.red, 180);
    drag(at(19, 32), {});  // the end block's handle
    std::vector<int> frames;
    for (int i = 0; i < 7; ++i) {
        ticksNow += KeyboardView::kSlideStepMs - 1;
        editor->idle();
        EXPECT_EQ(keys->shownFrame(), i) << "a step comes only after its interval";
        ticksNow += 1;
        editor->idle();
        frames.push_back(keys->shownFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 6, 6}));
    EXPECT_TRUE(keys->isCollapsed());
    EXPECT_LT(pixel(250, 40).red, 100);  // the lid is over the keys

    drag(at(250, 40), {});  // keys under the lid do not play
    EXPECT_TRUE(queued().empty());

    reopen();
    EXPECT_EQ(keys->shownFrame(), KeyboardView::kCollapsedFrame);
    EXPECT_LT(pixel(250, 40).red, 100);

    // The grip at the lid's leading edge opens it; closing the window half-way open reopens it
    // open.
    drag(at(38 + 4, 30), {});
    for (int step = 0; step < 2; ++step) {
        ticksNow += KeyboardView::kSlideStepMs;
        editor->idle();
    }
    EXPECT_EQ(keys->shownFrame(), 4);
    reopen();
    EXPECT_EQ(keys->shownFrame(), KeyboardView::kKeysFrame);
    EXPECT_EQ(pixel(250, 40), ivory);
}

// Closes the window on the frame's first idle pass: the host closing the editor during a drag.
struct CloseOnIdle : CView {
    OrinEditor* editor;
    explicit CloseOnIdle(OrinEditor* e) : CView(CRect()), editor(e) { setWantsIdle(true); }
    void onIdle() override {
        setWantsIdle(false);
        editor->close();
    }
};

TEST_F(Keyboard, ClosingDuringAGlissandoLetsGoOfTheKeyAndPlaysNoMore) {
    frame->addView(new CloseOnIdle(editor));
    window->queueMouse(at(40, 40), kLButton);
    for (int x = 50; x < 100; x += 10) window->queueMouse(at(x, 40), kLButton);
    window->queueMouse(at(100, 40), 0);
    frame->onMouseDown(at(40, 40), kLButton);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(queued(), (std::vector<QueuedNote>{{36, true, 88}, {36, false, 0}}));
}

TEST_F(Keyboard, OpeningAndClosingWhileNotesArriveFromTheAudioThread) {
    auto& display = const_cast<KeyboardDisplay&>(plugin->keyboardDisplay());
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    // The host's audio thread: MIDI notes, blocks that drain the keyboard's notes, and the key
    // state a playing voice writes (note 60 held throughout).
    std::thread audio([&] {
        display.keyDown(60, 90);
        for (int n = 0; !stop.load(); ++n) {
            const int note = 84 + n % 24;
            midi(0x90, note, 100);
            render();
            midi(0x80, note, 0);
            render();
            blocks.fetch_add(1);
        }
    });
    while (blocks.load() == 0) std::this_thread::yield();
    int rounds = 0;
    for (; rounds < 20 || blocks.load() < 200; ++rounds) {
        if (rounds > 0) reopen();
        editor->idle();
        EXPECT_TRUE(keys->isKeyLit(60)) << rounds;
        drag(at(40 + rounds % 300, 40), {at(80, 40), at(120, 40)});
        editor->idle();
        editor->close();
    }
    stop.store(true);
    audio.join();
}

}  // namespace
